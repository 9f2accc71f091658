#include "run/RunControl.h"

#include "controller/CommandResult.h"
#include "controller/ReturnCodes.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr short noOption = 0;

} // namespace

LearningAtStart LearningStep(bool enabled, const QString& mode)
{
    if (!enabled)
        return LearningAtStart::None;
    if (mode.contains(QLatin1String("Learning"), Qt::CaseInsensitive))
        return LearningAtStart::Learn;
    if (mode.contains(QLatin1String("Working"), Qt::CaseInsensitive))
        return LearningAtStart::Work;
    return LearningAtStart::None;
}

void StartLearning(LearningAtStart step, const ControllerAddress& at, short iteration,
                   const QByteArray& ilcPath)
{
    switch (step) {
    case LearningAtStart::None:
        break;
    case LearningAtStart::Learn:
        if (iteration == 0)
            ReportToHost("MQN_InitIlc", MQN_InitIlc(at.core));
        ReportToHost("MQN_StartIlc", MQN_StartIlc(at.core, at.crd));
        break;
    case LearningAtStart::Work:
        ReportToHost("MQN_LoadIlcFile", MQN_LoadIlcFile(at.core, at.crd, ilcPath.constData()));
        break;
    }
}

bool CrdRunning(const ControllerAddress& at)
{
    short run = 0;
    int32_t segment = 0;
    MQN_CrdStatus(at.core, at.crd, &run, &segment, 0);
    return run != 0;
}

bool JobLeftInBuffer(const ControllerAddress& at)
{
    int32_t remainder = 0;
    return MQN_GetRemainderSegNum(at.core, at.crd, &remainder, at.fifo) != 0 || remainder > 0;
}

short FlushTableLookAhead(const ControllerAddress& at)
{
    short code = 0;
    int32_t space = 1;
    do {
        code = MQN_CrdDataEx(at.core, at.crd, nullptr, noOption);
        MQN_CrdSpace(at.core, at.crd, &space, at.fifo);
    } while (code == ReturnCode::Refused && space > 0);
    return code;
}

int32_t ProfileBit(int profile)
{
    return profile >= 1 && profile <= 32 ? int32_t(1u << (profile - 1)) : 0;
}

int32_t AxesProfileMask(int dimension, const int (&profiles)[5])
{
    const int axes = std::clamp(dimension, 1, int(std::size(profiles)));
    int32_t mask = 0;
    for (int axis = 0; axis < axes; ++axis)
        mask |= ProfileBit(profiles[axis]);
    return mask;
}

std::array<QByteArray, 3> LearningErrorLines(const IlcErrorRecord& errors)
{
    const auto line = [](const char* name, double value) {
        return QStringLiteral("%1 = %2")
            .arg(QLatin1String(name), QString::number(value, 'g'))
            .toUtf8();
    };
    return {line("ErrorMax", errors.maxError), line("ErrorRms", errors.rmsError),
            line("ErrorAvg", errors.averageError)};
}
