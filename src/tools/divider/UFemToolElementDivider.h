#pragma once

#include "cardmodel/data/UFemCardSetManager.h"
#include "foundation/errors/UError.h"

#include <QString>
#include <QWidget>

#include <array>
#include <optional>
#include <span>

class QComboBox;
class QLineEdit;
class QTabWidget;
class SheetPresenter;
class UFemNumberFormatter;
class WindowTracker;

// The column of a Quad card that names its property; divided Quads keep it.
constexpr quint64 UFemToolElementDividerQuadPropertyColumn = 2;

// The kind of cell the dividing node generator fills.
enum ElementDividerObjectType : qint32 {
    UFemToolElementDividerLine2ObjectType = 1,
    UFemToolElementDividerTria3ObjectType = 2,
    UFemToolElementDividerQuad4ObjectType = 3,
    UFemToolElementDividerTetra4ObjectType = 4,
    UFemToolElementDividerHexa8ObjectType = 5,
};

inline const QString UFemToolElementDividerDivideElementsTab = QStringLiteral("DivideElementsTab");
inline const QString UFemToolElementDividerChangeQuad4QuadXXTab
    = QStringLiteral("ChangeQuad4QuadXXTab");

// The element divider: a floating panel that divides the selected Quad and Hexa cards of the
// main document window into N x N (x N) smaller elements, or rewrites selected Quad cards with 8,
// 9 or 16 nodes or back with 4. The model is never changed: the result is model text on the
// clipboard, and an alert asks the user to paste it.
class UFemToolElementDivider : public QWidget {
    Q_OBJECT
public:
    using NodeLocation = std::array<double, 3>;

    // The conversion directions, the tags of the direction pop-up.
    static constexpr qint32 changeToQuad8Direction = 1;
    static constexpr qint32 changeToQuad9Direction = 2;
    static constexpr qint32 changeToQuad16Direction = 3;
    static constexpr qint32 changeToQuadDirection = 9;
    static constexpr quint64 maximumNumberOfDivide = 999;

    // The menu command: opens the shared panel.
    static void apply(WindowTracker& tracker, SheetPresenter& sheets);
    // Made on first use and kept for the run.
    static UFemToolElementDivider& sharedElementDivider(
        WindowTracker& tracker, SheetPresenter& sheets);

    UFemToolElementDivider(WindowTracker& tracker, SheetPresenter& sheets);
    ~UFemToolElementDivider() override;

    // Shows the panel in front with the number of divisions back at 2.
    void openElementDividerWindow();
    void cancelElementDivider();
    // Closes the panel, checks the main window and its selection and puts the text of the
    // selected tab's function on the clipboard; every refusal and error is an alert.
    void applyElementDivider();

    QTabWidget* functionSelectTab() const { return functionSelectTab_; }
    QLineEdit* numberOfDivideTextField() const { return numberOfDivideTextField_; }
    QComboBox* changeDirectionPopup() const { return changeDirectionPopup_; }

    // Fills the grid of the cell: names and locations of (N+1), (N+1)^2 or (N+1)^3 points from
    // the corners' names and locations in the element's node order. The tables must have the
    // grid's size; names are left null where not generated.
    [[nodiscard]] static bool getDividingNode(std::span<QString> nodeNameStringTable,
        std::span<NodeLocation> nodeLocationTable, ElementDividerObjectType objectType,
        std::span<const QString> originalNodeNameStringTable,
        std::span<const NodeLocation> originalNodeLocationTable, quint64 numberOfDivide,
        qint32 namingOption, UErrorPtr* error);
    static quint64 numberOfGridPoints(ElementDividerObjectType objectType, quint64 numberOfDivide);

    // Divides every Quad4c card into N x N and every Hexa card into N x N x N cards; the other
    // cards pass unchanged. Null with the error on failure. The formatter writes the new Node
    // coordinates (the written-file formatter when null).
    [[nodiscard]] static std::optional<QString> modelTextToAddByDividingElement(
        const UFemCardVector& cards, quint64 numberOfDivide, qint32 namingOption,
        const UFemNumberFormatter* formatter, bool* didExistWarning, UErrorPtr* error);
    // Rewrites every Quad4c card as a Quad8, Quad9 or Quad16 card with the extra Node cards, or
    // (direction 9) as a Quad card.
    [[nodiscard]] static std::optional<QString> modelTextToAddByChangingQuad4QuadXX(
        const UFemCardVector& cards, qint32 changeDirection, qint32 namingOption,
        const UFemNumberFormatter* formatter, bool* didExistWarning, UErrorPtr* error);
    // The largest coordinate magnitude of the model's Node cards times 1e-6 (1e-6 without any).
    static double nodeLocationEpsilon(const UFemCardVector& cards);
    // The cell a card is divided as; none for a card that passes unchanged. Only the exact classes
    // count: a subclass of Quad4c has other nodes.
    static std::optional<ElementDividerObjectType> dividedObjectTypeOf(const UFemCard& card);

private:
    void buildPanel();
    // The main window's selection when the main window is a document window that has an element
    // card selected; null after the refusal's alert.
    const UFemCardVector* checkedSelection();
    void alert(const QString& messageText, const QString& informativeText);
    void finishRun(const std::optional<QString>& modelText, bool didExistWarning,
        const UErrorPtr& error, const QString& completedMessage, const QString& warningMessage,
        const QString& completedInformation);

    WindowTracker& tracker_;
    SheetPresenter& sheets_;
    QTabWidget* functionSelectTab_ = nullptr;
    QLineEdit* numberOfDivideTextField_ = nullptr;
    QComboBox* changeDirectionPopup_ = nullptr;
};
