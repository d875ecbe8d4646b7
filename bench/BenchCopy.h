#pragma once

// The two sides of the session copy case, each run in a child process that prepares the
// server, then times one process and reports its peak memory:
//   mda_bench child copy-ref URL USER CSV       psql \copy of the rows from a CSV file into a
//                                               table shaped like the measurement table
//   mda_bench child copy-lib URL USER DB MDA    `mda copy` of session 1 of DB into the server
// The password comes from MDA_BENCH_PG_PASSWORD. Prints "seconds" and "peak" (kB).

#include <QStringList>

int RunCopyChild(const QStringList& arguments);
