#pragma once

#include <QObject>

#include <memory>
#include <vector>

class QWidget;

// Parentless windows that live until the user closes them: they are held here, and a closed one is
// let go once its close event has run.
class ClosingWindows : public QObject {
    Q_OBJECT
public:
    ClosingWindows() = default;
    ~ClosingWindows() override;

    // Takes the window; returns it for showing.
    QWidget* add(std::unique_ptr<QWidget> window);
    std::vector<QWidget*> windows() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<std::unique_ptr<QWidget>> windows_;
};
