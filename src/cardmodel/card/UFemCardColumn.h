#pragma once

#include "foundation/errors/UError.h"
#include "foundation/strings/UCompactString.h"

#include <QString>
#include <QStringView>

#include <memory>
#include <optional>
#include <vector>

class UFemCard;
class UFemCardName;
class UFemCardNameTable;

enum UFemCardColumnType : qint32 {
    CARD_COLUMN_TYPE_CARD_NAME = 2,
    CARD_COLUMN_TYPE_REF_CARD_NAME = 3,
    CARD_COLUMN_TYPE_FLOAT_VALUE = 4,
    CARD_COLUMN_TYPE_INT_VALUE = 5,
    CARD_COLUMN_TYPE_BOOL_VALUE = 6,
    CARD_COLUMN_TYPE_STRING_VALUE = 7,
    UFemDegreeOfFreedomColumnType = 8,
};

// One column of a card after the label, owned by its card: a typed value parsed from text, or a
// card name that the column defines or refers to, kept registered in the model's name table.
class UFemCardColumn {
public:
    // `cardNameCardType` is kept for name and reference columns only.
    UFemCardColumn(
        UFemCard* ownerCard, quint64 columnIndex, qint32 columnType, qint32 cardNameCardType = 0);
    ~UFemCardColumn();
    UFemCardColumn(const UFemCardColumn&) = delete;
    UFemCardColumn& operator=(const UFemCardColumn&) = delete;

    // True when any column holds the same name as another; every column must be a name or
    // reference column.
    static bool existsSameCardNameWithCardColumnArray(
        const std::vector<const UFemCardColumn*>& cardColumnArray);

    qint32 columnType() const { return columnType_; }
    // nullopt empties the column. After an error the column is empty.
    [[nodiscard]] bool setColumnWithColumnString(
        const std::optional<QString>& columnString, UErrorPtr* error);
    // The same for a non-empty text given as a part of a larger one (a line being read): text is
    // copied only where the column keeps it.
    [[nodiscard]] bool setColumnWithColumnStringView(QStringView columnString, UErrorPtr* error);
    void resetColumn();
    bool isCardCompleteRegistered() const;
    std::optional<std::vector<QString>> noRegisteredCardNameStringArray() const;

    // Name and reference columns.
    UFemCardName* cardName() const;
    bool hasCard() const;
    UFemCard* card() const;
    std::vector<UFemCard*> cardArray() const;
    std::optional<QString> cardNameString() const;
    // Real columns.
    double doubleValue() const;
    float floatValue() const;
    // Integer columns.
    qint64 integerValue() const;
    // Boolean columns.
    bool boolValue() const;
    // String columns.
    QString stringValue() const;
    // Degree-of-freedom columns.
    UFemCardName* nodeCardName() const;
    bool hasNodeCard() const;
    UFemCard* nodeCard() const;
    std::optional<QString> nodeCardNameString() const;
    quint64 direction6() const;

    std::optional<QString> columnString() const;
    UFemCard* ownerCard() const { return ownerCard_; }
    bool isEmptyColumn() const;
    quint64 columnIndex() const { return columnIndex_; }
    // Empties the column and forgets its type and owner.
    void finish();
    // The text this column would have if the name it holds, `currentCardName`, took
    // `supposedCardNameString`.
    [[nodiscard]] std::optional<QString> supposedColumnStringWithSupposedCardNameString(
        const QString& supposedCardNameString, const UFemCardName* currentCardName,
        UErrorPtr* error) const;

private:
    bool isNameBearing() const
    {
        return columnType_ == CARD_COLUMN_TYPE_CARD_NAME
            || columnType_ == CARD_COLUMN_TYPE_REF_CARD_NAME
            || columnType_ == UFemDegreeOfFreedomColumnType;
    }
    void checkNameColumn() const;
    void checkType(qint32 columnType, const char* reason) const;
    void releaseValue();
    QString keptStringOrEmpty() const { return string_.toString(); }
    std::optional<QString> keptString() const
    {
        return string_.isNull() ? std::nullopt : std::optional<QString>(string_.toString());
    }
    void setKeptString(std::optional<QStringView> string);
    bool hasColumnString(QStringView columnString) const;
    [[nodiscard]] bool parseValue(QStringView columnString, UErrorPtr* error);
    // An unparsed name (of a degree of freedom) is parsed by the table; a name column's text was
    // parsed already.
    [[nodiscard]] bool bindCardName(
        const QString& cardNameString, qint32 cardType, UErrorPtr* error);
    [[nodiscard]] bool bindParsedCardName(QStringView cardNameString, UErrorPtr* error);
    UFemCardNameTable& ownerCardNameTable() const;
    [[nodiscard]] bool registerCardName(
        std::shared_ptr<UFemCardName> cardName, qint32 cardType, UErrorPtr* error);

    UFemCard* ownerCard_;
    // A million-card model holds ten million columns, so a column stays small: the index shares
    // a word with the types, and short texts are kept in place.
    quint32 columnIndex_;
    qint16 columnType_;
    // The card type a name or reference column names; the direction of a degree of freedom.
    qint16 cardTypeOrDirection_ = 0;
    union {
        // Name, reference and degree-of-freedom columns (isNameBearing).
        std::shared_ptr<UFemCardName> cardName_;
        // Other columns: the bits of a real, an integer or a Boolean.
        quint64 value_;
    };
    // The kept text of value columns; the direction text after the node name of
    // degree-of-freedom columns. Null while there is none.
    UCompactString string_;
};
