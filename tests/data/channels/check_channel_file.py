# Checks a written channel table with an independent JSON parser:
# check_channel_file.py <file> <number of channels> <column names separated by |>
import json, sys
doc = json.load(open(sys.argv[1], encoding="utf-8"))
columns = set(sys.argv[3].split("|"))
assert list(doc) == ["ChannelTableData"], list(doc)
channels = doc["ChannelTableData"]
assert isinstance(channels, list) and len(channels) == int(sys.argv[2]), len(channels)
for channel in channels:
    assert sorted(channel) == ["ChannelItemData", "ChannelName"], sorted(channel)
    assert channel["ChannelName"] == "Channel 0", channel["ChannelName"]
    items = channel["ChannelItemData"]
    assert len(items) == 36, len(items)
    for item in items:
        assert sorted(item) == ["Id", "Value"], sorted(item)
        assert isinstance(item["Id"], str) and isinstance(item["Value"], str), item
    assert set(item["Id"] for item in items) == columns
print("ok")
