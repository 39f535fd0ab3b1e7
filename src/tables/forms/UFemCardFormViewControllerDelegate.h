#pragma once

class UFemCardFormViewController;

// The view that shows a card form: told when the form's view changed its size, so that it places
// the form again.
class UFemCardFormViewControllerDelegate {
public:
    virtual ~UFemCardFormViewControllerDelegate() = default;

    virtual void reconnectCardFormViewWithCardFormViewController(
        UFemCardFormViewController& cardFormViewController)
        = 0;
};
