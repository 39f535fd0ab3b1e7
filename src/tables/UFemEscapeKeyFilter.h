#pragma once

#include <QObject>

#include <functional>

// Calls its handler for Esc pressed in the watched object and swallows the key. It has no parent:
// its owner ends the watching by destroying it.
class UFemEscapeKeyFilter : public QObject {
public:
    UFemEscapeKeyFilter(QObject* watched, std::function<void()> handler);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> handler_;
};
