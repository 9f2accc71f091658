#!/usr/bin/env python3
"""Runs the test suite against deliberate small faults, one at a time, and tells which it catches.

    tests/mutation/mutants.py [--build DIR] [--only NAME...]

The tree without a fault is built and tested first; the script stops there when that fails.
Each fault replaces one exact piece of source (it must occur once) in a copy of the working
tree, the copy is built in DIR (default build-mutants, kept between runs so that each fault
rebuilds little) and CTest runs; a fault is caught when a test fails. The copy lies in
DIR/source. Prints one line per fault, with the suites that caught it, and a summary; exits 0.
"""
import argparse
import os
import pathlib
import shutil
import subprocess
import sys

# name, file, original text, faulty text
FAULTS = [
    ("the import keeps feeds in mm/min", "planner/CommonGCode.cpp",
     "const double mmPerSecond = feed / 60;", "const double mmPerSecond = feed;"),
    ("the import turns XZ arcs the wrong way", "planner/CommonGCode.cpp",
     "code == 18 ? ArcPlane{2, 0, 1}", "code == 18 ? ArcPlane{0, 2, 1}"),
    ("the check calls feeds per minute harmless", "planner/ProgramCheck.cpp",
     'return {S::Danger, QStringLiteral("mm/min there, mm/s here',
     'return {S::Info, QStringLiteral("mm/min there, mm/s here'),
    ("the check calls a feed beyond the machine harmless", "planner/ProgramCheck.cpp",
     'return {S::Danger, QStringLiteral("mm/min read as mm/s',
     'return {S::Info, QStringLiteral("mm/min read as mm/s'),
    ("the check never gives its verdict", "planner/ProgramCheck.cpp",
     "    if (signs->seen) {\n", "    if (false && signs->seen) {\n"),
    ("Esc in a dialog leaves a running job going", "workbench/EscapeStop.cpp",
     "== mainWindow || jobActive())", "== mainWindow)"),
    ("the core reaches up into the window", "crd/Blending.cpp",
     "QString ApplyFilterPrm()\n{\n    return",
     "void ShowProblem(const QString&);\nQString ApplyFilterPrm()\n{\n    ShowProblem({});\n    return"),
    ("the toolbar's Stop is connected to nothing", "workbench/WorkbenchMenus.cpp",
     "machine->addAction(QString(), this, &Workbench::stopMotion);",
     "machine->addAction(QString());"),
    ("the Open action is connected to nothing", "workbench/WorkbenchMenus.cpp",
     "addAction(QString(), this, &Workbench::chooseProgram)",
     "addAction(QString())"),
    ("Describe module is connected to nothing", "workbench/WorkbenchMenus.cpp",
     "addAction(QString(), this, &Workbench::showDescription)",
     "addAction(QString())"),
    ("the workbench's texts stay in the language they were made in", "workbench/TranslatedTexts.cpp",
     "if (event->type() == QEvent::LanguageChange) {", "if (event->type() == QEvent::None) {"),
    ("the status line says the program loads for ever", "workbench/RunStatus.cpp",
     "    loadingPercent.reset();\n", ""),
    ("the operator window is cut off on a small screen", "workbench/Workbench.cpp",
     "    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);\n"
     "    area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);\n", ""),
    ("the preview's points are thinned ten times too coarsely", "planner/DryRun.cpp",
     "constexpr double previewTolerance = 0.005;", "constexpr double previewTolerance = 0.05;"),
    ("the preview's thinning mixes pens", "planner/PathPlot.cpp",
     "== SpeedBand(points[next], topSpeed);", "== SpeedBand(points[index], topSpeed);"),
    ("the backplot's Clear is connected to nothing", "workbench/BackplotView.cpp",
     "    connect(clear, &QPushButton::clicked, this, &BackplotView::Clear);\n", ""),
    ("Zoom to fit is connected to nothing", "workbench/BackplotView.cpp",
     "    connect(fit, &QPushButton::clicked, this, &BackplotView::FitToPath);\n", ""),
    ("the backplot's plane choice is connected to nothing", "workbench/BackplotView.cpp",
     "[this](int index) { SetPlane(PlotPlane(index)); });", "[](int) {});"),
    ("the run's figures reach no status bar", "workbench/Workbench.cpp",
     "    connect(watch, &MachineWatch::FiguresChanged, runStatus, &RunStatus::Show);\n", ""),
    ("the executed path reaches no backplot", "workbench/Workbench.cpp",
     "[this](const std::vector<PathPoint3>& points, bool restarted) {",
     "[this](const std::vector<PathPoint3>&, bool restarted) {\n"
     "                const std::vector<PathPoint3> points;"),
    ("the machine's position reaches no backplot", "workbench/Workbench.cpp",
     "    connect(watch, &MachineWatch::PositionChanged, plot, &BackplotView::SetCurrentPosition);\n", ""),
    ("a preview's check reaches no output", "workbench/Workbench.cpp",
     "    connect(planning, &PlanningClient::Checked, this, &Workbench::reportProgramCheck);\n", ""),
    ("crd mask off by one", "controller/CrdAddress.h",
     "short(1 << (crd - 1))", "short(1 << crd)"),
    ("fifo option ignores the crd", "controller/CrdAddress.h",
     "short(fifo << (crd - 1))", "short(fifo)"),
    ("start threshold off by one", "run/ProgramStreaming.h",
     "constexpr qsizetype startAfterLines = 1000;", "constexpr qsizetype startAfterLines = 1001;"),
    ("worker drops the final flush", "run/ProgramStreaming.cpp",
     "    if (!going || !flushLookAhead(to, report, control))",
     "    if (!going || (going && false && !flushLookAhead(to, report, control)))"),
    ("stop does not stop the worker", "run/MyThread.cpp",
     "    return !stopRequested;", "    return true;"),
    ("start ignores a stop request", "run/MyThread.cpp",
     "    QMutexLocker lock(&startGuard);\n    if (stopRequested)\n        return 0;\n    const short code",
     "    QMutexLocker lock(&startGuard);\n    const short code"),
    ("worker clears its stop request on the way out", "run/MyThread.cpp",
     "    emit MotionFinished();\n", "    stopRequested = false;\n    emit MotionFinished();\n"),
    ("Start after Pause sends the job again", "run/BufferedJob.cpp",
     "    if (state == State::Sent)\n        state = State::Paused;\n", ""),
    ("a paused job goes on although another program was put in", "run/BufferedJob.cpp",
     "return next == content ? AtStart::GoOn", "return next.rows == content.rows ? AtStart::GoOn"),
    ("a Stop leaves the stopped job in the buffer", "run/BufferedJob.cpp",
     "    case State::Ended:\n        return AtStart::ClearFirst;", "    case State::Ended:\n        return AtStart::Begin;"),
    ("the workbench takes no notice of the signals that ask it to end", "workbench/main.cpp",
     "    TerminationSignals terminations;\n", "    TerminationSignals terminations;\n    terminations.blockSignals(true);\n"),
    ("Esc closes the dry run's box and leaves the dry run going", "workbench/ProgramDialogs.cpp",
     "    QObject::connect(box, &QDialog::rejected, process, &DryRunProcess::Cancel);\n", ""),
    ("a failing space query taken for a full buffer", "run/MyThread.cpp",
     "        if (code == 0)\n            StartMotionOnce();\n        else if (!failureReported)",
     "        StartMotionOnce();\n        if (code != 0 && !failureReported)"),
    ("a refused start counts as started", "run/MyThread.cpp",
     "    if (code == 0)\n        started = true;", "    started = true;"),
    ("factors of any size are usable", "crd/CrdRecords.cpp",
     "        if (!(factor >= smallestFactor && factor <= largestFactor))",
     "        if (!(std::isfinite(factor) && factor > 0))"),
    ("the form keeps its module slot when destroyed unclosed", "form/CrdForm.cpp",
     "CrdForm::~CrdForm()\n{\n    ReleaseModuleSlot();\n}", "CrdForm::~CrdForm() {}"),
    ("laser on and off swapped", "gcode/ProgramCommands.h",
     "    if (line.laserSwitch == 1)", "    if (line.laserSwitch == 0)"),
    ("rapid taken as feed", "gcode/ProgramCommands.h",
     "line.motionMode == 0 ? ProgramCommand::RapidLine", "line.motionMode == 1 ? ProgramCommand::RapidLine"),
    ("arc direction inverted", "gcode/GCodeInterpreter.h",
     "return motionMode == 3 ? 1 : 0;", "return motionMode == 2 ? 1 : 0;"),
    ("feed not truncated", "gcode/GCodeInterpreter.cpp",
     "line.feed = std::trunc(text.Number());", "line.feed = text.Number();"),
    ("I read into J", "gcode/GCodeInterpreter.cpp",
     "arcCentre[0] = text.Number();", "arcCentre[1] = text.Number();"),
    ("the program walk drops the last line", "gcode/ProgramWalk.h",
     "        if (index + 1 >= end)", "        if (index + 2 >= end)"),
    ("ten-line rule off by one", "gcode/ProgramRows.h",
     "constexpr qsizetype longestTableProgram = 10;", "constexpr qsizetype longestTableProgram = 11;"),
    ("table walk goes on past an unknown type", "buffer/RowSending.cpp",
     "        if (!type || type->walk == WalkRule::EndsWalk)",
     "        if (type && type->walk == WalkRule::EndsWalk)"),
    ("velEnd carried from row to row", "buffer/RowSending.cpp",
     "        values.velEnd = 0;\n", ""),
    ("lengths not scaled to pulses", "buffer/CommandCalls.h",
     "double Length(double mm, Axis axis) const { return mm * factors.axis[axis].pulsesPerMm; }",
     "double Length(double mm, Axis axis) const { return mm + 0 * factors.axis[axis].pulsesPerMm; }"),
    ("truncation rounds instead", "crd/CrdRecords.cpp",
     "const double truncated = std::trunc(value);", "const double truncated = std::round(value);"),
    ("read-back dimension off by one", "form/CrdFormReadBack.cpp",
     "dimensionCombo->setCurrentIndex(prm.dimension - 1);", "dimensionCombo->setCurrentIndex(prm.dimension);"),
    ("settings keep the fifo under another key", "form/CrdFormSettings.cpp",
     "{QStringLiteral(\"fifo\"), QVariant(), index(fifoIndexCombo), chosen(fifoIndexCombo)}",
     "{QStringLiteral(\"Fifo\"), QVariant(), index(fifoIndexCombo), chosen(fifoIndexCombo)}"),
    ("run time past midnight not mended", "run/RunWatch.cpp",
     "    if (elapsed < 0)", "    if (elapsed < -millisecondsPerDay)"),
    ("controls stay disabled after a run", "form/CrdFormStatus.cpp",
     "        EnableIdleOnlyControls(true);", "        EnableIdleOnlyControls(false);"),
    ("a changed dimension or profile choice not followed", "form/CrdForm.cpp",
     "{ chosen = index + 1; }", "{ static_cast<void>(index); }"),
    ("the origin check box not connected", "form/CrdForm.cpp",
     "    connect(originFlagCheck, &QCheckBox::stateChanged, this, &CrdForm::OnOriginStateChanged);\n", ""),
    ("the look-ahead mode choice not connected", "form/CrdForm.cpp",
     "    connect(lookAheadModeCombo, &QComboBox::activated, this, &CrdForm::OnCobLookAheadModeChanged);\n", ""),
    ("the dimension choice not connected", "form/CrdForm.cpp",
     "    connect(dimensionCombo, &QComboBox::activated, this, &CrdForm::OnCrdDimensionChanged);\n", ""),
    ("the command type choice not connected", "form/CrdForm.cpp",
     "    connect(bufDataTypeCombo, &QComboBox::activated, this, &CrdForm::OnBufDataTypeChanged);\n", ""),
    ("Add not connected", "form/CrdForm.cpp",
     "    connect(addDataButton, &QPushButton::clicked, this, &CrdForm::OnAddDataBtnClicked);\n", ""),
    ("Delete not connected", "form/CrdForm.cpp",
     "    connect(deleteDataButton, &QPushButton::clicked, this, &CrdForm::OnDeleteDataBtnClicked);\n", ""),
    ("ClearAll not connected", "form/CrdForm.cpp",
     "    connect(clearAllButton, &QPushButton::clicked, this, &CrdForm::OnDeleteAllDataBtnClicked);\n", ""),
    ("a click on a row not connected", "form/CrdForm.cpp",
     "    connect(commandTable, &QTableWidget::itemClicked, this,\n            qOverload<QTableWidgetItem*>(&CrdForm::OnItemChanged));\n", ""),
    ("LoadCrdFile not connected", "form/CrdForm.cpp",
     "    connect(loadCrdFileButton, &QPushButton::clicked, this,\n            qOverload<>(&CrdForm::OnLoadFileDataBtnClicked));\n", ""),
    ("OpenFile not connected", "form/CrdForm.cpp",
     "    connect(openFileButton, &QPushButton::clicked, this, &CrdForm::OnbtnOpenFileData);\n", ""),
    ("OpenILCFile not connected", "form/CrdForm.cpp",
     "    connect(openIlcFileButton, &QPushButton::clicked, this, &CrdForm::OnbtnIlcOpenFileData);\n", ""),
    ("Init Crd not connected", "form/CrdForm.cpp",
     "    connect(initCrdButton, &QPushButton::clicked, this, &CrdForm::OnInitBtnClicked);\n", ""),
    ("Start Crd not connected", "form/CrdForm.cpp",
     "    connect(startCrdButton, &QPushButton::clicked, this, &CrdForm::OnStartBtnClicked);\n", ""),
    ("Pause not connected", "form/CrdForm.cpp",
     "    connect(pauseButton, &QPushButton::clicked, this, &CrdForm::OnPauseBtnClicked);\n", ""),
    ("the restart button not connected", "form/CrdForm.cpp",
     "    connect(restartButton, &QPushButton::clicked, this, &CrdForm::OnRestartBtnClicked);\n", ""),
    ("GetLookAheadPrm not connected", "form/CrdForm.cpp",
     "    connect(getLookAheadPrmButton, &QPushButton::clicked, this,\n            &CrdForm::OnGetLookAheadPrmBtnClicked);\n",
     ""),
    ("Run from line writes numbers in the general format", "planner/ProgramNumber.cpp",
     "return QString::number(value, 'f', QLocale::FloatingPointShortest);",
     "return QString::number(value, 'g', 12);"),
    ("Run from line drops the plane", "planner/ProgramResume.cpp",
     "QStringList words{QStringLiteral(\"G%1\").arg(state.plane)};", "QStringList words;"),
    ("Run from line leads in with a rapid before any motion mode", "planner/ProgramResume.cpp",
     "    if (streamed.motionMode < 0) {", "    if (streamed.motionMode < -1) {"),
    ("Run from line leaves the laser off", "planner/ProgramResume.cpp",
     "        if (laserOn)\n            lines << QStringLiteral(\"G02 H1\");\n", ""),
    ("Run from line drops the acceleration the table reading carries", "planner/ProgramResume.cpp",
     "ProgramNumber(tableAcceleration)", "ProgramNumber(tableAcceleration * 0 + 300)"),
    ("the backplot drops points twice the tolerance off its path", "planner/PathPlot.cpp",
     "anchor = points[points.size() - 2];\n        const double reach = tolerance * tolerance;",
     "anchor = points[points.size() - 2];\n        const double reach = 4 * tolerance * tolerance;"),
    ("the backplot's path outgrows its capacity", "planner/PathPlot.cpp",
     "    if (points.size() <= capacity)\n        return change;", "    if (points.size() <= 4 * capacity)\n        return change;"),
    ("virtual FIFO one larger", "simulator/Buffering.cpp",
     "        if (queue.held() >= capacity)\n            return refused;\n    } else",
     "        if (queue.held() > capacity)\n            return refused;\n    } else"),
    ("look-ahead keeps one command fewer", "simulator/Buffering.cpp",
     "    } else if (queue.waiting() >= held) {", "    } else if (queue.waiting() + 1 >= held) {"),
    ("the FIFO keeps counting a command that left", "simulator/CommandQueue.h",
     "        ring.pop_front();\n        --heldCount;\n", "        ring.pop_front();\n"),
    ("a query of an idle-looking controller misses a profile moving on its own", "simulator/Execution.cpp",
     "        if (core.profileMoving)\n            return true;\n", ""),
    ("a query misses a running coordinate system", "simulator/Execution.cpp",
     "            if (crd.running)\n                return true;\n", "            static_cast<void>(crd);\n"),
    ("planner looks one motion less far", "simulator/EndSpeedPlan.cpp",
     "|| index + 1 >= longestView;", "|| index + 2 >= longestView;"),
    ("planner keeps speeds worked back from an old end", "simulator/EndSpeedPlan.cpp",
     "        if (index <= limitsEnd && step.limit == v)", "        if (index < limitsEnd)"),
    ("planner takes one acceleration for all", "simulator/EndSpeedPlan.cpp",
     "    if (accelerationChanges == 0 && count > 0) {", "    if (count > 0) {"),
    ("the view's end is looked for the wrong way from the last", "simulator/EndSpeedPlan.cpp",
     "        if (endsView(hint, frontVMax)) {", "        if (!endsView(hint, frontVMax)) {"),
    ("a plain decimal of twenty digits wraps around", "gcode/GCodeInterpreter.cpp",
     "    constexpr int wholeDigits = 19;\n    static constexpr double powersOfTen[wholeDigits + 1]",
     "    constexpr int wholeDigits = 20;\n    static constexpr double powersOfTen[wholeDigits + 2]"),
    ("a whole number of ten plain digits overflows", "gcode/GCodeInterpreter.cpp",
     "    constexpr qsizetype plainDigits = 9;", "    constexpr qsizetype plainDigits = 10;"),
    ("a told word's number takes its letter", "gcode/GCodeInterpreter.cpp",
     "        qsizetype numberAt = at;", "        qsizetype numberAt = wordAt;"),
    ("the ring's place wraps past its end", "simulator/Ring.h",
     "        return at < ring.size() ? at : at - ring.size();",
     "        return at < ring.size() ? at : at - ring.size() + 1;"),
    ("a call after a command finds the controller where it was", "simulator/Library.h",
     "    if (!query && !lib.controller->takeQueuedBehind())\n        lib.settledAt = std::numeric_limits<double>::quiet_NaN();\n", ""),
    ("a command queued to begin at once leaves the controller settled", "simulator/Buffering.cpp",
     "&crd.fifos[std::size_t(crd.activeFifo)] || crd.activeStarted;",
     "&crd.fifos[std::size_t(crd.activeFifo)] || true;"),
    ("the host's waits never hold a motion for what the host would have queued", "simulator/VirtualController.cpp",
     "            system.holdCutShort = wait.refillSkipped;", "            system.holdCutShort = false;"),
    ("a held motion waits for a FIFO filled to the brim", "simulator/VirtualController.cpp",
     "                state.leaveFree = system.completed - wait.completedAtRefill;\n                wait.refillSkipped",
     "                state.leaveFree = 0;\n                wait.refillSkipped"),
    ("the end speed asked again ignores commands queued since", "simulator/EndSpeedPlan.cpp",
     "    if (front.serial == anchor && queue.size() == askedWith)", "    if (front.serial == anchor)"),
    ("a speed below the root is kept for the root", "simulator/Motion.h",
     "    if (limitSquared <= square)", "    if (limitSquared >= square)"),
    ("the dry run goes on where the host gave up", "planner/DryRun.cpp",
     "        if (state.gaveUp) {\n            beyondPending = true;", "        if (state.gaveUp) {\n            beyondPending = false;"),
    ("the dry run starts at whatever time the clock stopped", "planner/DryRun.cpp",
     "    simulator.advanceToMs(runStartMs);\n", "    static_cast<void>(runStartMs);\n"),
    ("a program of white space is taken for one", "gcode/ProgramText.cpp",
     "                       [](char c) { return QChar::isSpace(uchar(c)); });",
     "                       [](char c) { return QChar::isSpace(uchar(c)) && c != ' '; });"),
    ("an undecoded character in a wide text is not seen", "gcode/ProgramText.cpp",
     "        return wideText.contains(c);", "        return false;"),
    ("a wide text's lines start a character late", "gcode/ProgramText.cpp",
     "    return feed < 0 ? end : from + feed;", "    return feed < 0 ? end : from + feed + 1;"),
    ("a last line feed starts a line of its own", "gcode/ProgramText.cpp",
     "(size == 0 || end[-1] == Char('\\n'));", "(size == 0 || end[-1] == Char('\\r'));"),
    ("a look-ahead motion starts where the FIFO ends in pulses", "simulator/Buffering.cpp",
     "lookAhead ? cs.lookAheadLimits.scale : pulses;", "pulses;"),
    ("one finite argument of several is enough", "simulator/Codes.h",
     "(std::isfinite(double(values)) && ...);", "(std::isfinite(double(values)) || ...);"),
    ("the dry run's report is taken for a progress line", "workbench/DryRunProcess.cpp",
     "    if (!line.startsWith(\"{\\\"progress\\\":\")) {", "    if (line.startsWith(\"{\\\"progress\\\":\")) {"),
    ("the preview's feed moves are drawn in the next band's colour", "workbench/PreviewDrawing.cpp",
     "        const QRgb colour = SpeedBandColour(band).rgb();",
     "        const QRgb colour = SpeedBandColour(std::min(band + 1, speedBands - 1)).rgb();"),
    ("the preview's lines stop at the last pixel before the picture's edge", "workbench/PreviewDrawing.cpp",
     "    const qint64 last = std::min<qint64>(steps, qint64(std::ceil(leave * double(steps))));",
     "    const qint64 last = std::min<qint64>(steps, qint64(std::floor(leave * double(steps))) - 1);"),
    ("an ASCII line loses its last character", "gcode/ProgramText.h",
     "QLatin1String(narrowText.constData() + LineStart(index), LineLength(index));",
     "QLatin1String(narrowText.constData() + LineStart(index),\n"
     "                             LineLength(index) - (LineLength(index) > 0));"),
    ("the agent's sample hands out one observation too many", "shopfloor/Observations.cpp",
     "const quint64 end = std::min(next, from + quint64(std::max(count, 0)));",
     "const quint64 end = std::min(next, from + quint64(std::max(count, 0)) + 1);"),
    ("the agent answers requests that would write", "shopfloor/MTConnectAgent.cpp",
     "if (request.method() != QHttpServerRequest::Method::Get) {", "if (false) {"),
    ("MQTT's last will is not kept for later subscribers", "shopfloor/MqttStatus.cpp",
     "Bytes(offline).constData(), qos, true);", "Bytes(offline).constData(), qos, false);"),
    ("the line map has the laser never switched on", "planner/ProgramLineMap.cpp",
     "laserSwitches.push_back({commands, command == ProgramCommand::LaserOn});",
     "laserSwitches.push_back({commands, false});"),
    ("a killed workbench's job stays running in the history", "planner/JobHistory.cpp",
     "        entry.outcome = JobEntry::Outcome::Interrupted;\n        entry.ended = now;\n",
     "        entry.ended = now;\n"),
    ("a stopped job is recorded as finished", "workbench/JobRecorder.cpp",
     "                                                           : JobEntry::Outcome::Stopped;",
     "                                                           : JobEntry::Outcome::Finished;"),
    ("a job's end is notified while the operator watches the window", "workbench/JobNotifier.cpp",
     "    if (window->isActiveWindow())\n        return;\n", ""),
    ("an arc's bulge is not held against the travel", "planner/DryRun.cpp",
     "        includeMotion(line, standing, arc, motion);\n",
     "        includeMotion(line, standing, std::nullopt, motion);\n"),
    ("the frame switches the laser on", "planner/FrameProgram.cpp",
     'QStringLiteral("H0")};', 'QStringLiteral("H1")};'),
    ("the outline keeps a corner inside it", "planner/FrameProgram.cpp",
     "while (size >= 2 && Cross(hull[size - 2], hull[size - 1], point) <= 0)",
     "while (size >= 2 && Cross(hull[size - 2], hull[size - 1], point) < -1e9)"),
    ("Run from line has no shortcut", "workbench/WorkbenchMenus.cpp",
     'QKeySequence(QStringLiteral("Ctrl+L")), "runFromLineAction");',
     'QKeySequence(), "runFromLineAction");'),
    ("a misspelt DELAY's number takes its letters", "gcode/GCodeInterpreter.cpp",
     "            numberAt = at;\n            if (spelled == 4)",
     "            if (spelled == 4)"),
    ("a G read by conversion is told as plain digits", "gcode/GCodeInterpreter.cpp",
     "plainDigits = read == Whole::Digits;", "plainDigits = read != Whole::Unknown;"),
    ("the check reads a narrow line's text from the line before", "gcode/ProgramWalk.h",
     "if (program.IsNarrow() && widenedIndex != index) {",
     "if (program.IsNarrow() && widenedIndex < 0) {"),
    ("spindle and power together are no sign of common G-code", "planner/ProgramCheck.cpp",
     "    signs->seen = signs->seen || (signs->spindle && signs->power);\n", ""),
    ("the extent leaves out where the machine starts", "planner/DryRun.cpp",
     "    if (report.segments == 1)", "    if (report.segments == 0)"),
    ("a line keeps the axis factors of the motion in its place before", "simulator/Command.h",
     "        pulsesPerUnit = {1, 1, 1, 1, 1};\n", ""),
    ("a line in an arc's old place is drawn as an arc", "simulator/Motion.cpp",
     "    isArc = false;\n", ""),
    ("a speed profile keeps the phases of the one before", "simulator/Motion.cpp",
     "    *this = SpeedProfile();\n", ""),
    ("the look-ahead brakes over nothing", "simulator/EndSpeedPlan.cpp",
     "v * v + step.rise", "v * v"),
]


def run(command, cwd, log, env=None):
    return subprocess.run(command, cwd=cwd, env=env, stdout=log,
                          stderr=subprocess.STDOUT).returncode


def failed_suites(binary):
    """The suites CTest's last run lists as failed."""
    failed = binary / "Testing" / "Temporary" / "LastTestsFailed.log"
    if not failed.exists():
        return []
    return [line.split(":", 1)[1].strip() for line in failed.read_text().splitlines() if ":" in line]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default="build-mutants")
    parser.add_argument("--only", nargs="*")
    args = parser.parse_args()
    root = pathlib.Path(__file__).resolve().parents[2]
    build = (root / args.build).resolve()
    source = build / "source"
    build.mkdir(exist_ok=True)
    shutil.rmtree(source, ignore_errors=True)
    # Fresh times on every copied file: objects built from an earlier run's last fault must
    # not pass for up to date.
    shutil.copytree(root, source, ignore=shutil.ignore_patterns(".git", "build*"),
                    copy_function=shutil.copy)
    binary = build / "binary"
    log = open(build / "mutants.log", "w")
    if run(["cmake", "-S", str(source), "-B", str(binary), "-G", "Ninja",
            "-DCMAKE_BUILD_TYPE=RelWithDebInfo"], root, log) != 0:
        sys.exit("configure failed, see " + str(build / "mutants.log"))

    # The tree as it is must build and pass, or no fault's verdict means anything.
    if run(["cmake", "--build", str(binary)], root, log) != 0:
        sys.exit("the tree without a fault does not build, see " + str(build / "mutants.log"))
    if run(["ctest", "--test-dir", str(binary), "-j2"], root, log) != 0:
        sys.exit("the tree without a fault fails its tests: " + ", ".join(failed_suites(binary)))
    print("the tree without a fault builds and passes", flush=True)

    caught = survived = 0
    for name, path, original, faulty in FAULTS:
        if args.only and name not in args.only:
            continue
        file = source / path
        text = file.read_text()
        if text.count(original) != 1:
            print(f"STALE     {name}: the original text is not in {path} exactly once")
            continue
        file.write_text(text.replace(original, faulty))
        try:
            if run(["cmake", "--build", str(binary)], root, log) != 0:
                verdict = "NO BUILD"
            else:
                # A fault that hangs a test function fails it within a minute, not after the
                # suites' own five.
                failed = run(["ctest", "--test-dir", str(binary), "-j2"], root, log,
                             dict(os.environ, QTEST_FUNCTION_TIMEOUT="60000")) != 0
                verdict = "caught" if failed else "SURVIVED"
        finally:
            file.write_text(text)
        caught += verdict == "caught"
        survived += verdict == "SURVIVED"
        by = " by " + ", ".join(failed_suites(binary)) if verdict == "caught" else ""
        print(f"{verdict:9} {name} ({path}){by}", flush=True)
    print(f"{caught} caught, {survived} survived")


if __name__ == "__main__":
    main()
