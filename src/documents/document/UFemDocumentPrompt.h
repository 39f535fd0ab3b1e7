#pragma once

class SheetPresenter;

// The questions a document asks while it reads a file, which need an answer before reading goes
// on. Tests replace it by a recorder so that no test waits for a user.
class UFemDocumentPrompt {
public:
    virtual ~UFemDocumentPrompt() = default;

    // Whether the old card class name "RestraintExpression" at the head of rows is to be replaced
    // by "RestraintEquation" before the model is read.
    virtual bool shouldReplaceRestraintExpression() = 0;
};

// Asks through a modal alert of the sheet presenter.
class UFemModalAlertDocumentPrompt : public UFemDocumentPrompt {
public:
    explicit UFemModalAlertDocumentPrompt(SheetPresenter& sheets)
        : sheets_(sheets)
    {
    }

    bool shouldReplaceRestraintExpression() override;

private:
    SheetPresenter& sheets_;
};
