#include "run/MyThread.h"

#include "controller/CommandResult.h"
#include "controller/rvAPI.h"
#include "gcode/GCodeInterpreter.h"
#include "module/ModuleState.h"

#include <QCoreApplication>

namespace {

constexpr int startAfterLines = 1000;
constexpr int eventPassesBetweenPolls = 30;
constexpr short noOption = 0;

void report(const char* name, short code)
{
    ReportCommandResult(name, code, moduleState().hostMessage);
}

} // namespace

MyThread::MyThread(QObject* parent)
    : QThread(parent)
{}

// The form owns its workers: one still streaming when the form goes is stopped first.
MyThread::~MyThread()
{
    RequestStop();
    wait();
}

bool MyThread::WaitForSpace(short core, short crd, short fifo)
{
    int32_t space = 0;
    MQN_CrdSpace(core, crd, &space, fifo);
    while (space == 0 && !stopRequested) {
        for (int pass = 0; pass < eventPassesBetweenPolls; ++pass)
            QCoreApplication::processEvents();
        msleep(1);
        MQN_CrdSpace(core, crd, &space, fifo);
    }
    return space > 0;
}

void MyThread::run()
{
    const ModuleState& state = moduleState();
    const short core = state.currentCore, crd = state.currentCrd, fifo = state.currentFifo;
    const short crdMask = short(1 << (crd - 1));
    const short fifoOption = short(fifo << (crd - 1));
    const QStringList& lines = state.programLines;

    GCodeInterpreter program;
    int taken = 0;
    while (taken < lines.size() && !stopRequested) {
        if (!WaitForSpace(core, crd, fifo))
            break;
        program.InterpretLine(lines[taken++]);

        if (program.laserSwitch == 1) {
            const short code = MQN_BufPosCompareStartEx(core, crd, fifo, 1);
            report("MQN_BufPosCompareStartExEnable", 1);
            report("MQN_BufPosCompareStartEx", code);
        } else if (program.laserSwitch == 0) {
            report("MQN_BufPosCompareStopEx", MQN_BufPosCompareStopEx(core, crd, fifo, 1));
        }
        if (program.delayTime != -1.0) {
            const short delay = short(std::clamp(program.delayTime, -32768.0, 32767.0));
            MQN_BufDelayEx(core, crd, delay, fifo);
            ReportCommandResult("BufDelayTime", delay, state.hostMessage);
        }

        const double* p = program.position;
        using G = GCodeInterpreter;
        switch (program.MotionRequest()) {
        case G::Line:
            if (program.motionMode == 0) {
                report("MQN_LnXYZG0Ex",
                       MQN_LnXYZG0Ex(core, crd, p[G::X], p[G::Y], p[G::Z], program.Velocity(),
                                     program.Acceleration(), program.lineNumber, noOption, fifo));
            } else {
                MQN_LnXYZEx(core, crd, p[G::X], p[G::Y], p[G::Z], program.Velocity(),
                            program.Acceleration(), program.lineNumber, noOption, fifo);
            }
            break;
        case G::CentreArc:
            report("MQN_LnXYZEx",
                   MQN_ArcXYCEx(core, crd, p[G::X], p[G::Y], program.arcCentre[0],
                                program.arcCentre[1], program.ArcDirection(), program.Velocity(),
                                program.Acceleration(), program.lineNumber, noOption, fifo));
            break;
        case G::RadiusArc:
            MQN_ArcXYREx(core, crd, p[G::X], p[G::Y], program.arcRadius, program.ArcDirection(),
                         program.Velocity(), program.Acceleration(), 0, noOption, fifo);
            break;
        case G::NoMotion:
            break;
        }
        program.FinishLine(false);

        if (taken == startAfterLines)
            report("MQN_CrdStart", MQN_CrdStart(core, crdMask, fifoOption));
    }

    if (!stopRequested) {
        short code = 0;
        do {
            code = MQN_CrdDataEx(core, crd, nullptr, noOption);
            if (code == 1)
                msleep(1); // the buffer is full: let the motion make room
        } while (code == 1 && !stopRequested);
        report("MQN_CrdDataEx", code);
        if (taken < startAfterLines)
            report("MQN_CrdStart", MQN_CrdStart(core, crdMask, fifoOption));
    }
    stopRequested = false;
    emit MotionFinished();
}
