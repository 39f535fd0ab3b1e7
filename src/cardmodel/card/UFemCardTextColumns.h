#pragma once

#include "cardmodel/card/UFemCardType.h"
#include "cardmodel/text/UAttributedString.h"
#include "cardmodel/text/UFemModelTextTypes.h"
#include "foundation/errors/UError.h"
#include "foundation/strings/UStringGettingCharactersProtocol.h"

#include <QList>
#include <QString>
#include <QStringView>
#include <QVarLengthArray>

#include <memory>
#include <optional>

// Style keys of the runs of an attributed card string.
inline const QString UFemCardStringAttributesKeyForNormal
    = QStringLiteral("UFemCardStringAttributesKeyForNormal");
inline const QString UFemCardStringAttributesKeyForSpecial
    = QStringLiteral("UFemCardStringAttributesKeyForSpecial");
inline const QString UFemCardStringAttributesKeyForError
    = QStringLiteral("UFemCardStringAttributesKeyForError");
inline const QString UFemCardStringAttributesKeyForComment
    = QStringLiteral("UFemCardStringAttributesKeyForComment");

// What a card gives as its line and what the lines of text columns answer.
class UFemCardTextColumnsProtocol {
public:
    virtual ~UFemCardTextColumnsProtocol() = default;

    virtual quint64 numberOfColumns() const = 0;
    virtual std::optional<QString> columnStringAtIndex(quint64 index) const = 0;
    virtual QString cardString() const = 0;
    [[nodiscard]] virtual bool setCardString(const QString& string, UErrorPtr* error) = 0;
    virtual std::optional<QString> cardLabelString() const = 0;
    virtual std::optional<QString> cardNameString() const = 0;
};

class UFemCardTextColumns;
class UTextExcerpt;
using UFemCardTextColumnsPtr = std::shared_ptr<UFemCardTextColumns>;

// One model-text line as plain strings: column 0 the label, 1 the name, then the values; the
// comment; and, for a line that failed to read, the whole line with the error that stopped it.
class UFemCardTextColumns final : public UFemCardTextColumnsProtocol {
public:
    UFemCardTextColumns() = default;

    void reset();
    void finish() { reset(); }
    // A copy with its own identifier unset.
    UFemCardTextColumnsPtr copy() const;

    // The type set, or when none is set, the one the columns give: null, special ('#') or normal.
    qint32 cardType() const;
    void setCardType(qint32 cardType) { cardType_ = cardType; }
    quint64 cardIdentifierNumber() const { return cardIdentifierNumber_; }
    void setCardIdentifierNumber(quint64 number) { cardIdentifierNumber_ = number; }
    bool isSeparatedToColumns() const { return hasColumnArray_; }
    bool isNullCard() const { return cardType() == UFemNullCardType; }
    bool isSpecialCard() const { return cardType() == UFemSpecialCardType; }
    bool isErrorCard() const { return cardType() == UFemErrorCardType; }
    bool isNormalCard() const;

    // These raise the program error "errorCardString!=nil" on an error line.
    quint64 numberOfColumns() const override;
    // nullopt for an empty column and beyond the last.
    std::optional<QString> columnStringAtIndex(quint64 index) const override;
    std::optional<QString> cardLabelString() const override { return columnStringAtIndex(0); }
    std::optional<QString> cardNameString() const override { return columnStringAtIndex(1); }
    std::optional<QString> commentString() const;

    // The text must be exactly one column; it is stored trimmed (an empty one as an empty column),
    // padding with empty columns up to `index`. On error nothing changes.
    [[nodiscard]] bool setColumnString(const QString& string, quint64 index, UErrorPtr* error);
    [[nodiscard]] bool setCardLabelString(const QString& string, UErrorPtr* error)
    {
        return setColumnString(string, 0, error);
    }
    [[nodiscard]] bool setCardNameString(const QString& string, UErrorPtr* error)
    {
        return setColumnString(string, 1, error);
    }
    // The text must be exactly one comment; it is stored trimmed, an empty one as an empty comment.
    [[nodiscard]] bool setCommentString(const QString& string, UErrorPtr* error);

    // Makes these columns an error line's (type 13) and keeps the error.
    void setErrorObject(UErrorPtr error);
    const UErrorPtr& cardErrorObject() const { return errorObject_; }
    // For an error line the error's card error description ("Unknown Error." without one).
    std::optional<QString> cardErrorDescriptionString() const;
    // The whole line that failed to read, trimmed.
    const std::optional<QString>& errorCardString() const { return errorCardString_; }

    // Reads one line from `index` and leaves the index on its line end; returns LF, CR or 0 at the
    // end of the source. A line that does not read becomes an error line keeping the first error;
    // one with a character no reader takes is kept as read, the error naming that character.
    char16_t readModelStringCharactersFromString(const UStringGettingCharactersProtocol& source,
        quint64& index, UFemColumnSeparatingCharacterType type);
    // Reads one line (comma separated) that may end with one line end; nothing may follow it.
    [[nodiscard]] bool setCardString(const QString& string, UErrorPtr* error) override;

    QString cardStringWithColumnSeparatingCharacterType(UFemColumnSeparatingCharacterType type,
        bool doesOmitComment, bool doesOmitCardErrorDescription) const;
    QString cardString() const override;
    QString cardStringWithColumnSeparatingCharacterType(
        UFemColumnSeparatingCharacterType type) const;
    QString cardStringWithDoesOmitComment(
        bool doesOmitComment, bool doesOmitCardErrorDescription) const;
    // At most `maxLength` characters of that line, cut with "…"; the line is never composed whole.
    QString cardStringExcerpt(UFemColumnSeparatingCharacterType type, bool doesOmitComment,
        bool doesOmitCardErrorDescription, qsizetype maxLength) const;
    // Appends that line to `line`, as much of it as the excerpt keeps.
    void appendCardString(UTextExcerpt& line, UFemColumnSeparatingCharacterType type,
        bool doesOmitComment, bool doesOmitCardErrorDescription) const;

    // The line under the style keys above: the columns under the card kind's key, the comment
    // under the comment key; a null card shows only its comment.
    UAttributedString attributedCardStringWithColumnSeparatingCharacterType(
        UFemColumnSeparatingCharacterType type, bool doesOmitComment,
        bool doesOmitCardErrorDescription) const;
    UAttributedString attributedCardString() const;
    UAttributedString attributedCardStringWithDoesOmitComment(
        bool doesOmitComment, bool doesOmitCardErrorDescription) const;

private:
    // Where a column's text lies in columnText_; an empty column has length 0.
    struct ColumnSlot {
        qsizetype location = 0;
        qsizetype length = 0;
    };
    // Columns a line usually has at most (a hexa has 11) are kept without a heap block.
    static constexpr qsizetype InlineColumnCount = 12;

    void requireNoErrorLine() const;
    char16_t keepLineWithRefusedCharacter(const UStringGettingCharactersProtocol& source,
        quint64 start, quint64& index, const UErrorPtr& lineError);
    QStringView columnView(qsizetype index) const
    {
        return QStringView(columnText_)
            .mid(columnSlots_[index].location, columnSlots_[index].length);
    }
    ColumnSlot& slotAt(quint64 index);
    void storeColumn(QStringView text, quint64 index);
    void compactColumnText();

    qint32 cardType_ = UFemNotSetCardType;
    // The column texts back to back, so that reading a line makes one string, not one per column.
    QString columnText_;
    QVarLengthArray<ColumnSlot, InlineColumnCount> columnSlots_;
    // The sum of the slots' lengths, kept as columns are stored so that no store sums them all.
    qsizetype liveTextLength_ = 0;
    bool hasColumnArray_ = false;
    std::optional<QString> commentString_;
    std::optional<QString> errorCardString_;
    UErrorPtr errorObject_;
    quint64 cardIdentifierNumber_ = ~quint64(0);
};
