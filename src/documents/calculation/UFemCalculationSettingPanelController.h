#pragma once

#include "foundation/errors/UError.h"

#include <QDialog>
#include <QPointer>
#include <QString>

#include <optional>

class FilePanels;
class QCheckBox;
class QLineEdit;
class QWidget;
class SheetPresenter;
class UFemCalculationSettingPanelController;

// What the calculation-setting sheet asks of the document that shows it.
class UFemCalculationSettingPanelDelegate {
public:
    virtual ~UFemCalculationSettingPanelDelegate() = default;
    // True when the sheet may end with `tag`.
    virtual bool calculationSettingPanelButtonPushed(
        UFemCalculationSettingPanelController& controller, int tag)
        = 0;
};

// The sheet that asks where the result file of a calculation goes and whether the document takes
// the results when the calculation is done. The two switches are never both off.
class UFemCalculationSettingPanelController {
public:
    static constexpr int OKTag = 1;
    static constexpr int CancelTag = 0;
    static inline const QString ResultFileExtension = QStringLiteral("vtresult");

    explicit UFemCalculationSettingPanelController(UFemCalculationSettingPanelDelegate* delegate);
    ~UFemCalculationSettingPanelController();
    UFemCalculationSettingPanelController(const UFemCalculationSettingPanelController&) = delete;
    UFemCalculationSettingPanelController& operator=(const UFemCalculationSettingPanelController&)
        = delete;

    // The file against which a relative result path is resolved; empty for none.
    const QString& baseURL() const { return baseURL_; }
    void setBaseURL(const QString& baseURL) { baseURL_ = baseURL; }
    bool doesSaveResultFile() const { return doesSaveResultFile_; }
    void setDoesSaveResultFile(bool doesSave);
    const QString& resultFilePathString() const { return resultFilePathString_; }
    void setResultFilePathString(const QString& path);
    bool doesLoadWhenDone() const { return doesLoadWhenDone_; }
    void setDoesLoadWhenDone(bool doesLoad);
    // No base, load when done on, "Untitled.vtresult", result file on.
    void reset();
    // The absolute, standardised result path; 11010 for a bad extension or a relative path
    // without a base.
    [[nodiscard]] std::optional<QString> resultFileURL(UErrorPtr* error) const;

    // Shows the sheet on `window`; the sheet reads and writes this controller's fields.
    void beginSheet(QWidget* window, SheetPresenter& presenter, FilePanels& filePanels);
    // The sheet while it is shown.
    QDialog* calculationSettingPanel() const { return panel_; }
    void calculationSettingPanelButtonPushed(int tag);
    void calculationSettingPanelChangeFilePathButtonPushed();

private:
    QDialog* makePanel(QWidget* window);
    void updateControls();

    UFemCalculationSettingPanelDelegate* delegate_;
    QString baseURL_;
    bool doesSaveResultFile_ = true;
    QString resultFilePathString_;
    bool doesLoadWhenDone_ = true;
    FilePanels* filePanels_ = nullptr;
    // The sheet belongs to its window; this only watches it. Its connections are tied to
    // receiver_, so they end with this controller.
    QPointer<QDialog> panel_;
    QObject receiver_;
    QCheckBox* doesSaveResultFileSwitch_ = nullptr;
    QLineEdit* resultFilePathField_ = nullptr;
    QCheckBox* doesLoadWhenDoneSwitch_ = nullptr;
};

// The path with "~" for the home folder expanded and "." and ".." taken out.
QString UFemStandardizedPathString(const QString& path);
// The path with the home folder written as "~".
QString UFemAbbreviatedPathString(const QString& path);
