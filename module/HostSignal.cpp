#include "module/HostSignal.h"

#include "form/CrdForm.h"
#include "form/WidgetNames.h"

#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace {

constexpr int formWidth = 500;
constexpr int formHeight = 400;

void describe(ModuleDescriptor* descriptor)
{
    if (!descriptor)
        return;
    descriptor->name = QStringLiteral("Kurvo");
    descriptor->caption = QStringLiteral("插补运动");
    descriptor->shortName = QStringLiteral("Crd");
    descriptor->hostCode2 = 2;
    descriptor->hostCode1 = 3;
    descriptor->hostFlag = 1;
}

void attachHost(void* messageCallback, void* resourceList)
{
    ModuleState& state = moduleState();
    state.formTable[0] = nullptr;
    state.cursorCore = 1;
    state.cursorCrd = 0;
    state.hostMessage = reinterpret_cast<HostMessageCallback>(messageCallback);
    state.hostResources = reinterpret_cast<HostResourceList>(resourceList);
}

void openWindow(QMainWindow* mainWindow, const LanguageChoice* language)
{
    auto* area = mainWindow ? qobject_cast<QMdiArea*>(mainWindow->centralWidget()) : nullptr;
    if (!area)
        return;
    ModuleState& state = moduleState();
    if (state.openWindowCount >= 1) {
        area->setActiveSubWindow(state.activeSubWindow);
        return;
    }
    auto* form = new CrdForm(area, formWidth, formHeight, language ? *language : LanguageChinese,
                             state.openWindowCount);
    form->setObjectName(QLatin1String(WidgetNames::form));
    QMdiSubWindow* subWindow = area->addSubWindow(form);
    subWindow->setObjectName(QLatin1String(WidgetNames::subWindow));
    state.activeSubWindow = subWindow;

    const int width = mainWindow->width();
    const int height = mainWindow->height();
    subWindow->show();
    // Nudging the main window makes the host lay out its MDI area with the new window in it.
    mainWindow->setGeometry(QRect(mainWindow->pos(), QSize(width - 10, height - 10)));
    mainWindow->setGeometry(QRect(mainWindow->pos(), QSize(width, height)));

    ++state.openWindowCount;
    state.formTable[state.openWindowCount - 1] = form;
}

void setLanguage(const LanguageChoice* language)
{
    CrdForm* form = moduleState().formTable[0];
    if (language && (*language == LanguageChinese || *language == LanguageEnglish) && form)
        form->SwitchLanguage(*language);
}

} // namespace

int32_t HandleHostSignal(int16_t signal, void* first, void* second)
{
    switch (signal) {
    case SignalOpenWindow:
        openWindow(qobject_cast<QMainWindow*>(static_cast<QObject*>(first)),
                   static_cast<const LanguageChoice*>(second));
        break;
    case SignalDescribe:
        describe(static_cast<ModuleDescriptor*>(second));
        break;
    case SignalSetLanguage:
        setLanguage(static_cast<const LanguageChoice*>(first));
        break;
    case SignalAttachHost:
        attachHost(first, second);
        break;
    case SignalSetAxisTable:
        moduleState().axisTable = static_cast<const HostAxisTable*>(first);
        break;
    default:
        break;
    }
    return 0;
}
