#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>

#include <functional>

class QLineEdit;
class QWidget;
class SheetPresenter;

// The sheet that lets a project be saved, with a version text, before it is calculated. Its
// buttons carry tags: save then calculate, calculate without saving, cancel.
class UFemSaveBeforeCalculationPanelController {
public:
    static constexpr int SaveAndCalculateTag = 1;
    static constexpr int CalculateTag = 2;
    static constexpr int CancelTag = 3;

    // The delegate's version text, and its answer whether the sheet may end with a tag.
    struct Delegate {
        std::function<QString()> projectVersionString;
        std::function<bool(int tag)> buttonPushed;
    };

    explicit UFemSaveBeforeCalculationPanelController(Delegate delegate);
    ~UFemSaveBeforeCalculationPanelController();
    UFemSaveBeforeCalculationPanelController(const UFemSaveBeforeCalculationPanelController&)
        = delete;
    UFemSaveBeforeCalculationPanelController& operator=(
        const UFemSaveBeforeCalculationPanelController&)
        = delete;

    // Shows the sheet on `window`; `ended` gets the tag it ended with.
    void beginSheet(QWidget* window, SheetPresenter& presenter, std::function<void(int tag)> ended);
    QDialog* saveBeforeCalculationPanel() const { return panel_; }
    QString projectVersionString() const { return projectVersionString_; }
    void setProjectVersionString(const QString& version);
    void reset() { setProjectVersionString({}); }
    void updateProjectVersionStringFromDelegate();
    void saveBeforeCalculationPanelButtonPushed(int tag);

private:
    QDialog* makePanel(QWidget* window);

    Delegate delegate_;
    QString projectVersionString_;
    // The sheet belongs to its window; this only watches it. Its connections are tied to
    // receiver_, so they end with this controller.
    QPointer<QDialog> panel_;
    QObject receiver_;
    QLineEdit* projectVersionField_ = nullptr;
};
