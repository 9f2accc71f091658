<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
    <context>
        <name>BackplotView</name>
        <message>
            <source>Zoom to fit</source>
            <translation>缩放至全图</translation>
        </message>
        <message>
            <source>Clear</source>
            <translation>清除</translation>
        </message>
        <message>
            <source>rapid</source>
            <translation>快速移动</translation>
        </message>
        <message>
            <source>grid %1 mm</source>
            <translation>网格 %1 mm</translation>
        </message>
    </context>
    <context>
        <name>DryRunProcess</name>
        <message>
            <source>cannot start the dry run: %1</source>
            <translation>无法启动空运行：%1</translation>
        </message>
        <message>
            <source>the dry run of %1 ended early</source>
            <translation>%1 的空运行提前结束</translation>
        </message>
    </context>
    <context>
        <name>FrameJob</name>
        <message>
            <source>&amp;Frame</source>
            <translation>走边框(&amp;F)</translation>
        </message>
        <message>
            <source>Trace the program's box with the laser off</source>
            <translation>关闭激光，沿程序的外框走一遍</translation>
        </message>
        <message>
            <source>Frame &amp;outline</source>
            <translation>走轮廓(&amp;O)</translation>
        </message>
        <message>
            <source>No frame: %1.</source>
            <translation>未走边框：%1。</translation>
        </message>
        <message>
            <source>the operator window holds no program</source>
            <translation>操作窗口中没有程序</translation>
        </message>
        <message>
            <source>a job is under way</source>
            <translation>有作业正在进行</translation>
        </message>
        <message>
            <source>%1 is not planned yet</source>
            <translation>%1 尚未规划</translation>
        </message>
        <message>
            <source>%1 cuts nothing to go round</source>
            <translation>%1 没有可环绕的切割</translation>
        </message>
        <message>
            <source>%1 cannot be written</source>
            <translation>无法写入 %1</translation>
        </message>
        <message>
            <source>Framing %1: %2</source>
            <translation>为 %1 走边框：%2</translation>
        </message>
    </context>
    <context>
        <name>HistoryDock</name>
        <message>
            <source>History</source>
            <translation>作业历史</translation>
        </message>
        <message>
            <source>Started</source>
            <translation>开始时间</translation>
        </message>
        <message>
            <source>Program</source>
            <translation>程序</translation>
        </message>
        <message>
            <source>Outcome</source>
            <translation>结果</translation>
        </message>
        <message>
            <source>Line</source>
            <translation>行</translation>
        </message>
        <message>
            <source>Segments</source>
            <translation>段数</translation>
        </message>
        <message>
            <source>Run</source>
            <translation>运行</translation>
        </message>
        <message>
            <source>Planned</source>
            <translation>计划</translation>
        </message>
        <message>
            <source>Look-ahead</source>
            <translation>前瞻</translation>
        </message>
        <message>
            <source>Export CSV...</source>
            <translation>导出 CSV...</translation>
        </message>
        <message>
            <source>Run from line</source>
            <translation>从指定行运行</translation>
        </message>
        <message>
            <source>(table)</source>
            <translation>（表格）</translation>
        </message>
        <message>
            <source>%1 of %2</source>
            <translation>%1 / %2</translation>
        </message>
        <message>
            <source>finished</source>
            <translation>已完成</translation>
        </message>
        <message>
            <source>stopped</source>
            <translation>已停止</translation>
        </message>
        <message>
            <source>interrupted</source>
            <translation>已中断</translation>
        </message>
        <message>
            <source>running</source>
            <translation>运行中</translation>
        </message>
        <message>
            <source>Export the job history</source>
            <translation>导出作业历史</translation>
        </message>
        <message>
            <source>CSV (*.csv);;All (*)</source>
            <translation>CSV (*.csv);;所有文件 (*)</translation>
        </message>
        <message>
            <source>%1 cannot be written.</source>
            <translation>无法写入 %1。</translation>
        </message>
        <message>
            <source>The job of %1 was interrupted at line %2 when the workbench ended.

Go on with it from line %2?</source>
            <translation>工作台退出时，%1 的作业在第 %2 行中断。

从第 %2 行继续吗？</translation>
        </message>
        <message>
            <source>Interrupted job</source>
            <translation>中断的作业</translation>
        </message>
    </context>
    <context>
        <name>Notification</name>
        <message>
            <source>Job finished</source>
            <translation>作业完成</translation>
        </message>
        <message>
            <source>Job stopped</source>
            <translation>作业停止</translation>
        </message>
        <message>
            <source>The table</source>
            <translation>表格</translation>
        </message>
        <message>
            <source>%1: %2 segments in %3</source>
            <translation>%1：%2 段，用时 %3</translation>
        </message>
        <message>
            <source>, line %1</source>
            <translation>，第 %1 行</translation>
        </message>
        <message>
            <source>%1: stopped at segment %2%3</source>
            <translation>%1：停在第 %2 段%3</translation>
        </message>
    </context>
    <context>
        <name>ProgramDialogs</name>
        <message>
            <source>Run from line</source>
            <translation>从指定行运行</translation>
        </message>
        <message>
            <source>Load a program into the operator window first.</source>
            <translation>请先在操作窗口中载入程序。</translation>
        </message>
        <message>
            <source>Line of %1 to go on at:</source>
            <translation>%1 从第几行继续：</translation>
        </message>
        <message>
            <source>Import common G-code</source>
            <translation>导入通用 G 代码</translation>
        </message>
        <message>
            <source>.

Import it with such lines written as notes, moving nothing?</source>
            <translation>。

将这些行写成注释（不产生运动）后导入吗？</translation>
        </message>
        <message>
            <source>Dry run of %1</source>
            <translation>%1 的空运行</translation>
        </message>
        <message>
            <source>Cancel</source>
            <translation>取消</translation>
        </message>
        <message>
            <source>Will it fit?</source>
            <translation>能否装下？</translation>
        </message>
        <message>
            <source>%1 does not fit the machine: %2.

The machine would run past its travel there.</source>
            <translation>%1 超出机床行程：%2。

机床在此处会超出其行程。</translation>
        </message>
    </context>
    <context>
        <name>RunProgress</name>
        <message>
            <source>segment</source>
            <translation>段</translation>
        </message>
        <message>
            <source>segments</source>
            <translation>段</translation>
        </message>
        <message>
            <source>Idle</source>
            <translation>空闲</translation>
        </message>
        <message>
            <source>Finished in %1</source>
            <translation>完成，用时 %1</translation>
        </message>
        <message>
            <source>%1 %2</source>
            <translation>%1 %2</translation>
        </message>
        <message>
            <source>Stopped at segment %1, line %2</source>
            <translation>停在第 %1 段，第 %2 行</translation>
        </message>
        <message>
            <source>Stopped at segment %1</source>
            <translation>停在第 %1 段</translation>
        </message>
        <message>
            <source>run %1</source>
            <translation>运行 %1</translation>
        </message>
        <message>
            <source>Running</source>
            <translation>运行中</translation>
        </message>
        <message>
            <source>Paused</source>
            <translation>已暂停</translation>
        </message>
        <message>
            <source>%1 of %2 %3 (%4%)</source>
            <translation>%1 / %2 %3（%4%）</translation>
        </message>
        <message>
            <source>line %1 of %2</source>
            <translation>第 %1 / %2 行</translation>
        </message>
        <message>
            <source>left %1</source>
            <translation>剩余 %1</translation>
        </message>
    </context>
    <context>
        <name>RunStatus</name>
        <message>
            <source>Loading program… %1%</source>
            <translation>正在载入程序… %1%</translation>
        </message>
    </context>
    <context>
        <name>Workbench</name>
        <message>
            <source>Kurvo workbench</source>
            <translation>Kurvo 工作台</translation>
        </message>
        <message>
            <source>Output</source>
            <translation>输出</translation>
        </message>
        <message>
            <source>The controller library has no path record (it is not the virtual controller): no backplot.</source>
            <translation>控制器库没有路径记录（它不是虚拟控制器）：无法显示轨迹图。</translation>
        </message>
        <message>
            <source>Backplot</source>
            <translation>轨迹图</translation>
        </message>
        <message>
            <source>G-code (*.nc *.ngc *.gcode *.tap *.txt);;All (*)</source>
            <translation>G 代码 (*.nc *.ngc *.gcode *.tap *.txt);;所有文件 (*)</translation>
        </message>
        <message>
            <source>Open program</source>
            <translation>打开程序</translation>
        </message>
        <message>
            <source>Cannot go on with %1 at line %2: %3 cannot be written.</source>
            <translation>无法从第 %2 行继续 %1：无法写入 %3。</translation>
        </message>
        <message>
            <source>Going on with %1 at line %2: %3</source>
            <translation>从第 %2 行继续 %1：%3</translation>
        </message>
        <message>
            <source>Import common G-code</source>
            <translation>导入通用 G 代码</translation>
        </message>
        <message>
            <source>Not imported: %1</source>
            <translation>未导入：%1</translation>
        </message>
        <message>
            <source>Imported %1 as %2</source>
            <translation>已将 %1 导入为 %2</translation>
        </message>
        <message>
            <source>Program check of %1:</source>
            <translation>%1 的程序检查：</translation>
        </message>
        <message>
            <source>Dry run of a program</source>
            <translation>程序空运行</translation>
        </message>
        <message>
            <source>Dry run of %1:</source>
            <translation>%1 的空运行：</translation>
        </message>
        <message>
            <source>Stop at %1</source>
            <translation>%1 停止</translation>
        </message>
        <message>
            <source>Stop at %1: %2</source>
            <translation>%1 停止：%2</translation>
        </message>
        <message>
            <source>Module</source>
            <translation>模块</translation>
        </message>
        <message>
            <source>name: %1
caption: %2
short name: %3
codes: %4, %5, flag %6</source>
            <translation>名称：%1
标题：%2
简称：%3
代码：%4, %5，标志 %6</translation>
        </message>
        <message>
            <source>&amp;Module</source>
            <translation>模块(&amp;M)</translation>
        </message>
        <message>
            <source>&amp;Open operator window</source>
            <translation>打开操作窗口(&amp;O)</translation>
        </message>
        <message>
            <source>&amp;Language</source>
            <translation>语言(&amp;L)</translation>
        </message>
        <message>
            <source>Chinese</source>
            <translation>中文</translation>
        </message>
        <message>
            <source>English</source>
            <translation>英文</translation>
        </message>
        <message>
            <source>&amp;Describe module</source>
            <translation>模块信息(&amp;D)</translation>
        </message>
        <message>
            <source>&amp;Quit</source>
            <translation>退出(&amp;Q)</translation>
        </message>
        <message>
            <source>&amp;Program</source>
            <translation>程序(&amp;P)</translation>
        </message>
        <message>
            <source>&amp;Open...</source>
            <translation>打开(&amp;O)...</translation>
        </message>
        <message>
            <source>&amp;Recent programs</source>
            <translation>最近的程序(&amp;R)</translation>
        </message>
        <message>
            <source>&amp;Dry run...</source>
            <translation>空运行(&amp;D)...</translation>
        </message>
        <message>
            <source>Run from &amp;line...</source>
            <translation>从指定行运行(&amp;L)...</translation>
        </message>
        <message>
            <source>&amp;Import common G-code…</source>
            <translation>导入通用 G 代码(&amp;I)…</translation>
        </message>
        <message>
            <source>&amp;Help</source>
            <translation>帮助(&amp;H)</translation>
        </message>
        <message>
            <source>&amp;Keyboard shortcuts</source>
            <translation>键盘快捷键(&amp;K)</translation>
        </message>
        <message>
            <source>Machine</source>
            <translation>机床</translation>
        </message>
        <message>
            <source>Stop</source>
            <translation>停止</translation>
        </message>
        <message>
            <source>Stop the coordinate system at once (Esc)</source>
            <translation>立即停止坐标系（Esc）</translation>
        </message>
        <message>
            <source>Keyboard shortcuts</source>
            <translation>键盘快捷键</translation>
        </message>
    </context>
</TS>
