#pragma once

#include "cardmodel/data/UFemCardSetManager.h"
#include "foundation/errors/UError.h"

#include <QString>
#include <QWidget>

#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class SheetPresenter;
class WindowTracker;

// The node merger: a floating panel that finds the selected Node cards of the main document
// window lying on one location (within a distance on every axis) and writes the groups to the
// clipboard, or merges each group into one node as one undoable step: the other nodes are removed
// (or become comment lines) and every reference to them refers to the kept node.
class UFemToolNodeMerger : public QWidget {
    Q_OBJECT
public:
    using NodeGroup = UFemCardVector;

    static constexpr int keepFirstNodeTag = 1;
    static constexpr int keepLastNodeTag = 2;
    static constexpr quint64 maximumNodeCountOnSameLocation = 16;

    // The menu command: opens the shared panel.
    static void apply(WindowTracker& tracker, SheetPresenter& sheets);
    // Made on first use and kept for the run.
    static UFemToolNodeMerger& sharedNodeMerger(WindowTracker& tracker, SheetPresenter& sheets);

    UFemToolNodeMerger(WindowTracker& tracker, SheetPresenter& sheets);
    ~UFemToolNodeMerger() override;

    void openNodeMergerWindow();
    void applyNodeMerger() { printNodeChangeListToClipboardAndExecuteMergeNode(true); }
    void writeNodeNameListToClipboard()
    {
        printNodeChangeListToClipboardAndExecuteMergeNode(false);
    }
    void cancelNodeMerger();
    // The whole run: checks, groups, keep rules, the change list on the clipboard and, when
    // `doesExecuteMergeNode`, the merge. Every refusal is an alert, before anything is written.
    void printNodeChangeListToClipboardAndExecuteMergeNode(bool doesExecuteMergeNode);

    QLineEdit* nodeMergeDistanceTextField() const { return nodeMergeDistanceTextField_; }
    QComboBox* keepNodeOptionPopup() const { return keepNodeOptionPopup_; }
    QCheckBox* doesUseNodeNameListInClipboardCheckButton() const
    {
        return doesUseNodeNameListInClipboardCheckButton_;
    }
    QCheckBox* doesKeepRemovedNodeCardAsCommentCheckButton() const
    {
        return doesKeepRemovedNodeCardAsCommentCheckButton_;
    }

    // The groups of two to 16 nodes lying within `nodeMergeDistance` of their first member on
    // every axis, each in selection order, ordered by their first members. Nothing for fewer than
    // two nodes (without an error) or on an error.
    [[nodiscard]] static std::optional<std::vector<NodeGroup>> nodeCardListArrayOnSameLocation(
        const UFemCardVector& targetNodeArray, double nodeMergeDistance, UErrorPtr* error);
    // Removes every group's members after the first (or makes them comment lines) and points the
    // references to them at the first, as one undo step; a failure leaves the model as it was.
    [[nodiscard]] static bool mergeNode(const std::vector<NodeGroup>& nodeCardNameChangeList,
        bool doesKeepRemovedNodeCardAsComment, UErrorPtr* error);

private:
    struct RunOptions;

    void buildPanel();
    void alert(const QString& messageText, const QString& informativeText);
    void showError(const UErrorPtr& error);
    // The Node cards the clipboard names, or nothing after the run's alert.
    std::optional<std::vector<UFemCard*>> keepListFromClipboard(const UFemCardVector& selection);
    // Moves the kept node of each group to its front; false after the alert on unused names.
    bool applyKeepRules(std::vector<NodeGroup>& groups, const RunOptions& options,
        std::vector<UFemCard*>& keepList);

    WindowTracker& tracker_;
    SheetPresenter& sheets_;
    QLineEdit* nodeMergeDistanceTextField_ = nullptr;
    QComboBox* keepNodeOptionPopup_ = nullptr;
    QCheckBox* doesUseNodeNameListInClipboardCheckButton_ = nullptr;
    QCheckBox* doesKeepRemovedNodeCardAsCommentCheckButton_ = nullptr;
};
