<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>CrdForm</name>
    <message>
        <source>1,txt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1mm transform pulse</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A PrfPos:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A:</source>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Axis%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>BufData Type:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>BufID</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Buffer Data</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>C PrfPos:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>C:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ClearAll</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ContourControl</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Core Index:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Crd</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Crd Dimensions:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Crd Index:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Crd parameter</source>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Encoder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>EvenTime:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fifo Index:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File open fail !</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File path can not be empty !</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FollowRatio</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FollowSource</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GetLookAheadPrm</source>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Init Crd</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Jerk</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kp</source>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LookAheadMode:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LookAheadPrm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Motion Status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Motion parameter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>N</source>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OpenFile</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OpenILCFile</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OriginFlag:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pause</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Power Follow</source>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restart</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Run:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scale</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SegNum</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Segment:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Space:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start Crd</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>T</source>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>X:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Y</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Y PrfPos:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Y:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Z</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Z PrfPos:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Z:</source>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>mm/s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>mm/s^2</source>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>pos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>pulse</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>pulse/ms</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>pulse/ms^2</source>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>synVel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>synVelMax:</source>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The core must lie between 1 and %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The profile of axis %1 must lie between 1 and %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The host's axis table has no usable factors for core %1, profile %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The host reports %1 cores; the window offers cores 1 to %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The settings were not saved to %1: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The program %1 was not loaded: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>synVelMax and synAccMax do not convert with the host&apos;s factors for core %1, profile %2.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Error:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MaxAxisIndex - MinAxisIndex &gt;8</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Option.ini File Write Error!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The blending file holds no usable value for &quot;%1&quot;: &quot;%2&quot;. Nothing was sent.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it does not exist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is a link to nothing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is larger than %1 MiB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it cannot be opened</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it cannot be parsed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it could not be written</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
