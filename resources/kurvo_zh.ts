<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>CrdForm</name>
    <message>
        <source>1,txt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1mm transform pulse</source>
        <translation>运动一毫米对应脉冲数</translation>
    </message>
    <message>
        <source>A</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A PrfPos:</source>
        <translation>A 轴规划：</translation>
    </message>
    <message>
        <source>A:</source>
        <translation>A轴:</translation>
    </message>
    <message>
        <source>AMax</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>AccTime</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>AddData</source>
        <translation>增加数据</translation>
    </message>
    <message>
        <source>Axis%1</source>
        <translation>轴%1</translation>
    </message>
    <message>
        <source>BufData Type:</source>
        <translation>数据类型:</translation>
    </message>
    <message>
        <source>BufID</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Buffer Data</source>
        <translation>数据段</translation>
    </message>
    <message>
        <source>C PrfPos:</source>
        <translation>C 轴规划：</translation>
    </message>
    <message>
        <source>C:</source>
        <translation>C轴:</translation>
    </message>
    <message>
        <source>ClearAll</source>
        <translation>清除所有</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>ContourControl</source>
        <translation>轮廓误差控制</translation>
    </message>
    <message>
        <source>Core Index:</source>
        <translation>核号:</translation>
    </message>
    <message>
        <source>Crd</source>
        <translation>插补</translation>
    </message>
    <message>
        <source>Crd Dimensions:</source>
        <translation>坐标系维数:</translation>
    </message>
    <message>
        <source>Crd Index:</source>
        <translation>坐标系选择:</translation>
    </message>
    <message>
        <source>Crd parameter</source>
        <translation>索引</translation>
    </message>
    <message>
        <source>CrdID</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CrdID      </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CrdOperate</source>
        <translation>操作</translation>
    </message>
    <message>
        <source>DMA</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DVMax</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DccAngle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DeleteData</source>
        <translation>删除数据</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>使能</translation>
    </message>
    <message>
        <source>Encoder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>EvenTime:</source>
        <translation>最小匀速时间:</translation>
    </message>
    <message>
        <source>Fifo Index:</source>
        <translation>缓存区选择:</translation>
    </message>
    <message>
        <source>File open fail !</source>
        <translation>文件解析失败</translation>
    </message>
    <message>
        <source>File path can not be empty !</source>
        <translation>文件路径错误</translation>
    </message>
    <message>
        <source>FollowRatio</source>
        <translation>跟随比例</translation>
    </message>
    <message>
        <source>FollowSource</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GetLookAheadPrm</source>
        <translation>读取参数</translation>
    </message>
    <message>
        <source>ILC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ILCCount</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ILCEnable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ILCMode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Info</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Init Crd</source>
        <translation>初始化插补</translation>
    </message>
    <message>
        <source>Jerk</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kp</source>
        <translation>系数</translation>
    </message>
    <message>
        <source>Learning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Link</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LoadCrdFile</source>
        <translation>加载文件</translation>
    </message>
    <message>
        <source>LookAheadMode:</source>
        <translation>前瞻预处理</translation>
    </message>
    <message>
        <source>LookAheadPrm</source>
        <translation>前瞻参数</translation>
    </message>
    <message>
        <source>Motion Status</source>
        <translation>运动状态</translation>
    </message>
    <message>
        <source>Motion parameter</source>
        <translation>运动参数</translation>
    </message>
    <message>
        <source>N</source>
        <translation>前瞻段数</translation>
    </message>
    <message>
        <source>Off</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Old Mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>On</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <translation>开启</translation>
    </message>
    <message>
        <source>OpenFile</source>
        <translation>打开文件</translation>
    </message>
    <message>
        <source>OpenILCFile</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OriginFlag:</source>
        <translation>坐标系偏移:</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>暂停</translation>
    </message>
    <message>
        <source>Power Follow</source>
        <translation>能量跟随</translation>
    </message>
    <message>
        <source>PowerMax</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PowerMin</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Profile</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RadiusRatio</source>
        <translation>曲率限制</translation>
    </message>
    <message>
        <source>Restart</source>
        <translation>重启</translation>
    </message>
    <message>
        <source>Run:</source>
        <translation>运动状态：</translation>
    </message>
    <message>
        <source>Scale</source>
        <translation>脉冲当量</translation>
    </message>
    <message>
        <source>SegNum</source>
        <translation>段号</translation>
    </message>
    <message>
        <source>Segment:</source>
        <translation>段号:</translation>
    </message>
    <message>
        <source>Space:</source>
        <translation>插补空间:</translation>
    </message>
    <message>
        <source>Start Crd</source>
        <translation>启动插补</translation>
    </message>
    <message>
        <source>T</source>
        <translation>拐弯时间</translation>
    </message>
    <message>
        <source>Threhold</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>VMax</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Working</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>X</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>X PrfPos:</source>
        <translation>X 轴规划：</translation>
    </message>
    <message>
        <source>X:</source>
        <translation>X轴:</translation>
    </message>
    <message>
        <source>Y</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Y PrfPos:</source>
        <translation>Y 轴规划：</translation>
    </message>
    <message>
        <source>Y:</source>
        <translation>Y轴:</translation>
    </message>
    <message>
        <source>Z</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Z PrfPos:</source>
        <translation>Z 轴规划：</translation>
    </message>
    <message>
        <source>Z:</source>
        <translation>Z轴:</translation>
    </message>
    <message>
        <source>acc</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>axis</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>channel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>circleDir</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>delayTime</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>doMask</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>doType</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>doValue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gearAxis</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>inputIndex</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>inputType</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>limitType</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lookAheadInMc</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>mm</source>
        <translation>毫米</translation>
    </message>
    <message>
        <source>mm/s</source>
        <translation>毫米/秒</translation>
    </message>
    <message>
        <source>mm/s^2</source>
        <translation>毫米/秒^2</translation>
    </message>
    <message>
        <source>modal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>moveAxis</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ms</source>
        <translation>毫秒</translation>
    </message>
    <message>
        <source>pos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>pulse</source>
        <translation>脉冲</translation>
    </message>
    <message>
        <source>pulse/ms</source>
        <translation>脉冲/毫秒</translation>
    </message>
    <message>
        <source>pulse/ms^2</source>
        <translation>脉冲/毫秒^2</translation>
    </message>
    <message>
        <source>radius</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>stopType</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>synAcc</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>synAccMax:</source>
        <translation>最大合成加速度:</translation>
    </message>
    <message>
        <source>synVel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>synVelMax:</source>
        <translation>最大合成速度:</translation>
    </message>
    <message>
        <source>value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>vel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>velEnd</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>xCenter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>yCenter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>zCenter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The program is still being sent.</source>
        <translation>程序仍在发送中。</translation>
    </message>
    <message>
        <source>The core must lie between 1 and %1.</source>
        <translation>核号必须在1到%1之间。</translation>
    </message>
    <message>
        <source>The profile of axis %1 must lie between 1 and %2.</source>
        <translation>%1 轴的规划号必须在1到%2之间。</translation>
    </message>
    <message>
        <source>The host's axis table has no usable factors for core %1, profile %2.</source>
        <translation>主机轴表中核%1、规划%2的换算系数不可用。</translation>
    </message>
    <message>
        <source>The host reports %1 cores; the window offers cores 1 to %2.</source>
        <translation>主机报告%1个核；窗口只提供核1到%2。</translation>
    </message>
    <message>
        <source>The settings were not saved to %1: %2.</source>
        <translation>设置未保存到%1：%2。</translation>
    </message>
    <message>
        <source>The program %1 was not loaded: %2.</source>
        <translation>程序%1未载入：%2。</translation>
    </message>
    <message>
        <source>synVelMax and synAccMax do not convert with the host&apos;s factors for core %1, profile %2.</source>
        <translation>synVelMax 与 synAccMax 无法用主机中核%1、规划%2的换算系数换算。</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Error:</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>MaxAxisIndex - MinAxisIndex &gt;8</source>
        <translation>最大轴号索引与最小轴号索引间隔不能超过8.</translation>
    </message>
    <message>
        <source>Option.ini File Write Error!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The blending file holds no usable value for &quot;%1&quot;: &quot;%2&quot;. Nothing was sent.</source>
        <translation>平滑参数文件中"%1"的值"%2"不可用，未发送任何参数。</translation>
    </message>
    <message>
        <source>it does not exist</source>
        <translation>文件不存在</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>它不是普通文件</translation>
    </message>
    <message>
        <source>it is a link to nothing</source>
        <translation>它是指向不存在文件的链接</translation>
    </message>
    <message>
        <source>it is larger than %1 MiB</source>
        <translation>它大于%1 MiB</translation>
    </message>
    <message>
        <source>it cannot be opened</source>
        <translation>无法打开</translation>
    </message>
    <message>
        <source>it cannot be parsed</source>
        <translation>无法解析其内容</translation>
    </message>
    <message>
        <source>it could not be written</source>
        <translation>无法写入</translation>
    </message>
</context>
</TS>
