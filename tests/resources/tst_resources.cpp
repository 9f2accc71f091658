#include <QFile>
#include <QImage>
#include <QTest>
#include <QTranslator>

class TestResources : public QObject
{
    Q_OBJECT

private slots:
    void filesAtTheirPaths_data()
    {
        QTest::addColumn<QString>("path");
        for (const char* path :
             {":/qm/kurvo_zh.qm", ":/qm/kurvo_en.qm", ":/qm/Resources/delete.png",
              ":/icon/Resources/plus.png", ":/icon/Resources/minus.png",
              ":/icon/Resources/plus-w.png", ":/icon/Resources/minus-w.png",
              ":/icon/Resources/pull-down.png", ":/icon/Resources/pull-down-blue.png",
              ":/icon/Resources/delete.png", ":/icon/Resources/delete-w.png"})
            QTest::newRow(path) << QString::fromLatin1(path);
    }

    void filesAtTheirPaths()
    {
        QFETCH(QString, path);
        QVERIFY(QFile::exists(path));
        if (path.endsWith(QLatin1String(".png")))
            QVERIFY(!QImage(path).isNull());
    }

    void chineseCatalogue_data()
    {
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("translation"); // empty: shown as the source

        const char* const entries[][3] = {
            {"CrdForm", "Crd parameter", "索引"},
            {"CrdForm", "X PrfPos:", "X 轴规划："}, // full-width colon
            {"CrdForm", "Axis%1", "轴%1"},
            {"CrdForm", "pulse/ms^2", "脉冲/毫秒^2"},
            {"QObject", "MaxAxisIndex - MinAxisIndex >8",
             "最大轴号索引与最小轴号索引间隔不能超过8."},
            {"CrdForm", "The profile of axis %1 must lie between 1 and %2.",
             "%1 轴的规划号必须在1到%2之间。"},
            {"CrdForm", "synVel", ""},
            {"QObject", "Crd parameter", ""}, // the context matters
            {"CrdForm", "Crd ", ""},          // and so do trailing blanks
        };
        for (const auto& [context, source, translation] : entries)
            QTest::addRow("%s: %s", context, source)
                << context << source << QString::fromUtf8(translation);
    }

    void chineseCatalogue()
    {
        QFETCH(QString, context);
        QFETCH(QString, source);
        QFETCH(QString, translation);

        QTranslator chinese;
        QVERIFY(chinese.load(QStringLiteral(":/qm/kurvo_zh.qm")));
        QCOMPARE(chinese.translate(context.toLatin1(), source.toUtf8()), translation);
    }

    void englishCatalogueTranslatesNothing()
    {
        QTranslator english;
        QVERIFY(english.load(QStringLiteral(":/qm/kurvo_en.qm")));
        QCOMPARE(english.translate("CrdForm", "Crd parameter"), QString());
        QCOMPARE(english.translate("QObject", "Error:"), QString());
    }
};

QTEST_MAIN(TestResources)
#include "tst_resources.moc"
