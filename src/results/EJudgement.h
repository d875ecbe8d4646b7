#pragma once

namespace LumoraMeasurement
{

/// What the evaluation made of one stored value: judged within its limits, a limit
/// violation, a measurement error, or not judged at all (not implemented, not measured).
/// One byte: the session model keeps one per stored value.
enum EJudgement : unsigned char
{
    eJudgement_NotJudged = 0,
    eJudgement_Within,
    eJudgement_Violation,
    eJudgement_Error,
};

} // namespace LumoraMeasurement
