#pragma once

#include "appkit/FilePanels.h"

class SheetPresenter;

// The panels as file dialogs, queued with the other sheets of their window.
class FileDialogPanels : public FilePanels {
public:
    explicit FileDialogPanels(SheetPresenter& sheets);

    void beginSavePanel(
        QWidget* window, const SavePanelOptions& options, SaveCompletion done) override;
    void beginOpenPanel(
        QWidget* window, const OpenPanelOptions& options, OpenCompletion done) override;

private:
    SheetPresenter& sheets_;
};
