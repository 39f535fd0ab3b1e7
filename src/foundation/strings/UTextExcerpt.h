#pragma once

#include <QString>
#include <QStringView>

#include <limits>

// Text appended piece by piece that keeps at most `limit` characters: what passes the limit is
// left out and the text ends in "…". A line holding a vast token is shown by its head without
// ever being copied whole.
class UTextExcerpt {
public:
    static constexpr qsizetype Unlimited = std::numeric_limits<qsizetype>::max();
    static constexpr QChar Ellipsis = QChar(0x2026);

    explicit UTextExcerpt(qsizetype limit = Unlimited, qsizetype capacity = 0);

    UTextExcerpt& operator+=(QStringView text);
    // A string appended whole to nothing is shared, not copied.
    UTextExcerpt& operator+=(const QString& text);
    // Whether something was left out; appending then adds nothing.
    bool isCut() const { return isCut_; }
    qsizetype size() const { return text_.size(); }
    // The text, ending in "…" when something was left out.
    QString take();

private:
    QString text_;
    qsizetype limit_;
    bool isCut_ = false;
};
