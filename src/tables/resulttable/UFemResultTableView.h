#pragma once

#include "appkit/CommandTarget.h"
#include "cardmodel/data/UFemCardSetManager.h"
#include "tables/resulttable/UFemResultTableModel.h"

#include <QTableView>

#include <memory>
#include <vector>

class UFemDataController;
class UFemResultTableWindowLink;

// The read-only table of card values under (or beside) a main view: one block of rows per
// selected card of the window, one row per current case, Max and Min, with its own row fills,
// block grid and message boxes. Rows can be selected and copied as text.
class UFemResultTableView : public QTableView, public CommandTarget {
    Q_OBJECT
public:
    static constexpr double boldGridLineWidth = 2.0;
    static constexpr double narrowGridLineWidth = 1.0;
    static constexpr int nameColumnWidth = 200;
    static constexpr int nameColumnMinWidth = 100;
    static constexpr int nameColumnMaxWidth = 300;
    static constexpr int valueColumnMinWidth = 80;
    static constexpr int valueColumnMaxWidth = 200;
    static constexpr double initialValueColumnWidth = 120.0;
    static constexpr qreal centerMessagePointSize = 14.0;

    explicit UFemResultTableView(QWidget* parent = nullptr);
    ~UFemResultTableView() override;

    // Makes the card sets, starting from the window's selection and cases, and ties them to the
    // window; the link must outlive finish().
    void setUFemWindowController(UFemResultTableWindowLink* windowController);
    // Stops observing and lets the window go; the second call does nothing.
    void finish();
    UFemResultTableWindowLink* windowController() const { return windowController_; }
    UFemDataController* dataController() const;

    QString cardValueExprListString() const { return model_.cardValueExprListString(); }
    [[nodiscard]] bool setCardValueExprListString(
        const QString& cardValueExprListString, UErrorPtr* error);
    UFemCardVector targetCardArray() const;
    void setTargetCardArray(const UFemCardVector& cards);
    UFemCardVector caseCardArray() const;
    void setCaseCardArray(const UFemCardVector& cards);

    UFemResultTableModel& resultTableModel() { return model_; }
    const QString& viewCenterMessageString() const { return model_.viewCenterMessageString(); }
    const QString& errorString() const { return model_.errorString(); }
    const UFemResultTableColors& colors() const { return model_.colors(); }
    void setColors(const UFemResultTableColors& colors);
    double defaultValueColumnWidth() const { return defaultValueColumnWidth_; }

    // Copies the selected rows, comma-padded or tab-separated; beeps without a selection.
    void copyRows(UFemColumnSeparatingCharacterType type);
    // A value column resized with the Option (Alt) key takes every value column along.
    void tableViewColumnDidResize(int column, int newWidth, Qt::KeyboardModifiers modifiers);

    bool validateCommand(CommandItem& item) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void registerCommands();
    void takeWindowSelectionAndCases();
    void observeWindow();
    void markAndReload();
    void replaceCards(UFemCardSetManager& manager, const UFemCardVector& cards);
    void applyColumnWidths();
    void drawBlockGrid(QPainter& painter);
    void drawBlockGridOfBlock(QPainter& painter, quint64 block, int left, int right);
    void drawMessages(QPainter& painter);
    int widthOfColumn(int column) const;

    UFemResultTableModel model_;
    UFemResultTableWindowLink* windowController_ = nullptr;
    std::unique_ptr<UFemCardSetManager> targetCardSetManager_;
    std::unique_ptr<UFemCardSetManager> caseCardSetManager_;
    std::vector<UNotificationObservation> observations_;
    std::vector<int> columnWidths_;
    double defaultValueColumnWidth_ = initialValueColumnWidth;
    bool isResizingColumns_ = false;
};
