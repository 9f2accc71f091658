// The settings file: what the window loads when it opens and saves when it closes.
#include "form/WidgetNames.h"
#include "rvsim.h"

#include "LinkedModule.h"
#include "ModalBoxAnswerer.h"
#include "TestHost.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <memory>

namespace WN = WidgetNames;

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { host.reset(); }

    void missingFileLoadsTheDefaults();
    void roundTrip();
    void lastListedGroupDecides();
    void unparseableFileIsLeftAlone_data();
    void unparseableFileIsLeftAlone();
    void withoutControllerNothingIsWritten();
    void valuesOutOfRange();
    void originKeysOnlyWithTheFlag();
    void unwritableFolder();

private:
    void write(const QByteArray& content);
    QByteArray content() const;
    QWidget* open();
    void close();
    QString text(const char* name) const { return host->find<QLineEdit>(name)->text(); }
    QComboBox* combo(const QString& name) const { return host->find<QComboBox>(name); }

    std::unique_ptr<TestHost> host;
    QWidget* form = nullptr;
};

void TestSettings::init()
{
    rvsim_reset();
    rvsim_use_manual_clock(1);
    host = LinkedTestHost();
    host->neutralSettings = false;
    QVERIFY(QDir().mkpath(host->settingsFolder()));
}

void TestSettings::write(const QByteArray& bytes)
{
    QFile file(host->settingsFile());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray TestSettings::content() const
{
    QFile file(host->settingsFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QWidget* TestSettings::open()
{
    form = host->open();
    return form;
}

void TestSettings::close()
{
    host->area()->closeAllSubWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestSettings::missingFileLoadsTheDefaults()
{
    {
        ModalBoxAnswerer answerer; // the program path " " does not open
        open();
        QCOMPARE(answerer.first().text, QStringLiteral("File open fail !"));
    }
    QCOMPARE(combo(WN::dimensionCombo)->currentText(), QStringLiteral("2"));
    for (int axis = 0; axis < 5; ++axis) {
        QCOMPARE(combo(WN::perAxis(WN::profileCombo, axis))->currentIndex(), axis + 1);
        QCOMPARE(host->find<QLineEdit>(WN::perAxis(WN::scaleEdit, axis))->text(),
                 QStringLiteral("1000"));
    }
    QCOMPARE(combo(WN::coreIndexCombo)->currentIndex(), 0);
    QCOMPARE(text(WN::synVelMaxEdit), QString());
    QVERIFY(!host->find<QCheckBox>(WN::originFlagCheck)->isChecked());
    QCOMPARE(combo(WN::lookAheadModeCombo)->currentText(), QStringLiteral("Close"));
    const QStringList tree{text(WN::tEdit),    text(WN::nEdit),       text(WN::radiusRatioEdit),
                           text(WN::jerkEdit), text(WN::accTimeEdit), text(WN::dccAngleEdit)};
    QCOMPARE(tree, (QStringList{"0.01", "200", "1", "0.5", "100", "180"}));
    QCOMPARE(text(WN::programPathEdit), QStringLiteral(" "));
}

void TestSettings::roundTrip()
{
    write("[KurvoCore1Crd1]\nlabOpenFileData=\n");
    open();
    auto choose = [this](const QString& name, int index) {
        combo(name)->setCurrentIndex(index);
        emit combo(name)->activated(index);
    };
    choose(WN::lookAheadModeCombo, 1);
    choose(WN::dimensionCombo, 3);
    choose(WN::perAxis(WN::profileCombo, 3), 6);
    host->find<QCheckBox>(WN::originFlagCheck)->setChecked(true);
    const QList<QPair<QString, QString>> typed{{WN::synVelMaxEdit, "250.5"},
                                               {WN::synAccMaxEdit, "900"},
                                               {WN::evenTimeEdit, "12"},
                                               {WN::perAxis(WN::scaleEdit, 1), "2000"},
                                               {WN::tEdit, "0.02"},
                                               {WN::jerkEdit, "3"},
                                               {WN::perAxis(WN::originEdit, 0), "-7"}};
    for (const auto& [name, value] : typed)
        host->find<QLineEdit>(name)->setText(value);
    close();

    QSettings saved(host->settingsFile(), QSettings::IniFormat);
    saved.beginGroup(QStringLiteral("KurvoCore1Crd1"));
    QCOMPARE(saved.childKeys().join(u' '),
             QStringLiteral("Core Crd LookAheadMode Profile0 Profile1 Profile2 Profile3 Profile4 "
                            "Scale0 Scale1 Scale2 Scale3 Scale4 dCrdAccTime dCrdJerk "
                            "dLookAheadPrmAccMax dLookAheadPrmDccAngle dLookAheadPrmN "
                            "dLookAheadPrmRadiusRatio dLookAheadPrmT dimension evenTime fifo "
                            "labOpenFileData originPos0 originPos1 originPos2 originPos3 "
                            "originPos4 setOriginFlag synAccMax synVelMax"));
    const QList<QPair<const char*, const char*>> values{
        {"dimension", "3"},          {"Profile3", "6"},    {"synVelMax", "250.5"},
        {"Scale1", "2000"},          {"originPos0", "-7"}, {"LookAheadMode", "Open"},
        {"dLookAheadPrmAccMax", "0"}};
    for (const auto& [key, value] : values)
        QCOMPARE(saved.value(key).toString(), QLatin1String(value));

    open();
    QCOMPARE(combo(WN::lookAheadModeCombo)->currentText(), QStringLiteral("Open"));
    QVERIFY(!host->find(WN::lookAheadTree)->isHidden());
    QCOMPARE(combo(WN::dimensionCombo)->currentText(), QStringLiteral("4"));
    QCOMPARE(combo(WN::perAxis(WN::profileCombo, 3))->currentText(), QStringLiteral("7"));
    for (const auto& [name, value] : typed)
        QCOMPARE(host->find<QLineEdit>(name)->text(), value);
    QVERIFY(host->find<QCheckBox>(WN::originFlagCheck)->isChecked());
    QVERIFY(host->find(WN::perAxis(WN::originEdit, 0))->isEnabled());
    QCOMPARE(text(WN::programPathEdit), QString());
}

// The last group the file lists is loaded, whichever was saved last; saving writes the group of
// the window's choices and keeps the others, and what they hold, as they were.
void TestSettings::lastListedGroupDecides()
{
    rvsim_configure(2, 0, 0, 0, 0);
    TestHost::resources = {CrdResourceRecord{2, 2, 1, 1, {}}};
    write("[KurvoCore1Crd1]\nCore=1\nsynVelMax=11\nlabOpenFileData=\nforeign=kept\n"
          "[KurvoCore2Crd1]\nCore=0\nsynVelMax=22\nlabOpenFileData=\n"
          "[Zeta]\nsynVelMax=99\n");
    open();
    QCOMPARE(text(WN::synVelMaxEdit), QStringLiteral("22"));
    QCOMPARE(combo(WN::coreIndexCombo)->currentIndex(), 0);
    host->find<QLineEdit>(WN::synVelMaxEdit)->setText(QStringLiteral("33"));
    close();

    QSettings saved(host->settingsFile(), QSettings::IniFormat);
    QCOMPARE(saved.childGroups(), (QStringList{"KurvoCore1Crd1", "KurvoCore2Crd1", "Zeta"}));
    QCOMPARE(saved.value("KurvoCore1Crd1/synVelMax").toString(), QStringLiteral("33"));
    QCOMPARE(saved.value("KurvoCore1Crd1/foreign").toString(), QStringLiteral("kept"));
    QCOMPARE(saved.value("KurvoCore2Crd1/synVelMax").toString(), QStringLiteral("22"));
    QCOMPARE(saved.value("Zeta/synVelMax").toString(), QStringLiteral("99"));
}

void TestSettings::unparseableFileIsLeftAlone_data()
{
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("unterminated quote") << QByteArray("[KurvoCore1Crd1]\n\"synVelMax=5\n");
    QByteArray binary(4096, '\0');
    for (int i = 0; i < binary.size(); ++i)
        binary[i] = char((i * 7919) % 256);
    QTest::newRow("binary") << binary;
    // Tens of megabytes are no settings file; reading them would freeze the window.
    QTest::newRow("40 MB") << QByteArray("[KurvoCore1Crd1]\nsynVelMax=5\n")
                                  + QByteArray(40 * 1024 * 1024, 'x');
}

void TestSettings::unparseableFileIsLeftAlone()
{
    QFETCH(QByteArray, bytes);

    write(bytes);
    {
        ModalBoxAnswerer noBox(0);
        open();
    }
    // As built: the construction defaults stand, the program path is empty.
    QCOMPARE(text(WN::synVelMaxEdit), QStringLiteral("1000"));
    QCOMPARE(text(WN::programPathEdit), QString());
    QCOMPARE(combo(WN::dimensionCombo)->currentText(), QStringLiteral("3"));
    close();
    QCOMPARE(content(), bytes);
}

void TestSettings::withoutControllerNothingIsWritten()
{
    TestHost::resources = {CrdResourceRecord{0, 0, 0, 0, {}}};
    write("[KurvoCore1Crd1]\nlabOpenFileData=\n");
    open();
    close();
    QCOMPARE(content(), QByteArray("[KurvoCore1Crd1]\nlabOpenFileData=\n"));
    QFile::remove(host->settingsFile());
    {
        ModalBoxAnswerer answerer; // the default program path " "
        open();
    }
    close();
    QVERIFY(!QFile::exists(host->settingsFile()));
}

void TestSettings::valuesOutOfRange()
{
    write("[KurvoCore1Crd1]\nProfile4=40\ndimension=-3\nCore=9\nsynVelMax=nan\n"
          "LookAheadMode=open\nlabOpenFileData=\n");
    open();
    QCOMPARE(combo(WN::perAxis(WN::profileCombo, 4))->currentIndex(), -1);
    QCOMPARE(combo(WN::dimensionCombo)->currentIndex(), -1);
    QCOMPARE(combo(WN::coreIndexCombo)->currentIndex(), -1);
    QCOMPARE(text(WN::synVelMaxEdit), QStringLiteral("nan"));
    // "open" is not "Open": no mode is chosen, so the tree and the scales stay hidden.
    QCOMPARE(combo(WN::lookAheadModeCombo)->currentIndex(), -1);
    QVERIFY(host->find(WN::lookAheadTree)->isHidden());
    QVERIFY(host->find(WN::perAxis(WN::scaleEdit, 0))->isHidden());
    {
        // Closing builds the record as Init does: core 0 is refused before anything is saved.
        ModalBoxAnswerer answerer;
        close();
        QCOMPARE(answerer.first().text, QStringLiteral("The core must lie between 1 and 16."));
    }
    QSettings saved(host->settingsFile(), QSettings::IniFormat);
    QCOMPARE(saved.childGroups(), (QStringList{"KurvoCore0Crd1", "KurvoCore1Crd1"}));
}

void TestSettings::originKeysOnlyWithTheFlag()
{
    write("[KurvoCore1Crd1]\nsetOriginFlag=0\noriginPos0=5\nlabOpenFileData=\n");
    open();
    QVERIFY(!host->find<QCheckBox>(WN::originFlagCheck)->isChecked());
    QCOMPARE(host->find<QLineEdit>(WN::perAxis(WN::originEdit, 0))->text(), QString());
    QVERIFY(host->find(WN::perAxis(WN::originEdit, 0))->isHidden());
    close();
    // Origins never refreshed while the window was open are saved as 0.
    QSettings saved(host->settingsFile(), QSettings::IniFormat);
    QCOMPARE(saved.value("KurvoCore1Crd1/originPos0").toString(), QStringLiteral("0"));
}

void TestSettings::unwritableFolder()
{
    QTemporaryDir parent;
    const QString blocked = parent.filePath(QStringLiteral("file-not-folder"));
    QFile blocker(blocked);
    QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    blocker.close();
    SetSettingsFolder(blocked);
    {
        ModalBoxAnswerer answerer; // nothing to load: the default program path " "
        open();
    }
    close();
    QVERIFY(QFileInfo(blocked).isFile());
}

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
