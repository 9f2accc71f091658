#ifndef KURVO_WORKBENCH_TRANSLATEDTEXTS_H
#define KURVO_WORKBENCH_TRANSLATEDTEXTS_H

#include <QObject>

#include <functional>
#include <vector>

// Texts that follow the language switch. Each function given sets some texts through tr():
// it runs once at once and again whenever the watched widget learns that the language changed
// (a catalogue installed or removed), so menus, titles and buttons read in the language now
// chosen; the lines already written in the output pane stay as they were written.
class TranslatedTexts : public QObject
{
public:
    // Watches `widget`'s language changes, and ends with it.
    explicit TranslatedTexts(QObject* widget);

    void Follow(std::function<void()> setTexts);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<std::function<void()>> setters;
};

#endif
