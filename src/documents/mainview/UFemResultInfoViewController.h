#pragma once

#include "documents/mainview/UFemInfoViewController.h"

#include <memory>

class UFemInsidePanelTextView;
class UFemResultInfoViewBoxView;
class QLabel;

// The information view of a result's window: the project title, version and comment stored with
// the result and the calculation's error text, read only.
class UFemResultInfoViewController : public UFemInfoViewController {
public:
    static constexpr int minimumWidth = 600;
    static constexpr int minimumHeight = 400;

    explicit UFemResultInfoViewController(UFemWindowController& windowController);
    ~UFemResultInfoViewController() override;

    void finish() override;
    QWidget* mainViewBox() const override;
    QSize minimumMainViewBoxSize() const override { return { minimumWidth, minimumHeight }; }

    QString projectTitleString() const;
    QString projectVersionString() const;
    QString projectCommentString() const;
    // "No Error." when the calculation ended without one.
    QString resultDataCalculationErrorString() const;

    struct Form {
        QLabel* title;
        QLabel* version;
        UFemInsidePanelTextView* comment;
        UFemInsidePanelTextView* calculationError;
    };
    const Form& form() const { return form_; }

private:
    void buildForm();

    std::unique_ptr<UFemResultInfoViewBoxView> box_;
    Form form_ {};
};
