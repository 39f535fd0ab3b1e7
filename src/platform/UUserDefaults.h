#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

#include <mutex>
#include <optional>

// Posted to the default notification centre on the main thread after a write, with the written
// defaults object as sender.
inline const QString UUserDefaultsDidChangeNotification
    = QStringLiteral("UUserDefaultsDidChangeNotification");

// The user's preferences: registered defaults kept in memory beneath the values the user stored.
// Stored values live in a settings file in a CBOR format registered with QSettings, so that
// numbers, booleans, nested arrays and dictionaries read back with their types and doubles read
// back bit-exact (QSettings' own formats give numbers back as strings). Colours are arrays of
// four doubles.
//
// Thread-safe: worker threads read preference snapshots while the main thread writes.
// Keys are plain names; a '/' in a key is a QSettings group separator.
class UUserDefaults {
public:
    // The program's defaults, stored in the user's settings folder under the application's
    // organisation and name.
    static UUserDefaults& standardUserDefaults();

    // Defaults stored in the settings file at `filePath` (made on the first write). A damaged
    // file (an entry whose key is no text, a truncated file) is kept aside beside it as
    // "<file>.damaged" and replaced by the entries that could be read. A path that is no regular
    // file (a FIFO, a device, a directory) is neither read nor written: the defaults hold, and
    // every write keeps its value in memory only.
    explicit UUserDefaults(const QString& filePath);
    UUserDefaults(const UUserDefaults&) = delete;
    UUserDefaults& operator=(const UUserDefaults&) = delete;

    QString filePath() const { return filePath_; }
    // What the user is told once after a damaged settings file was recovered or a path that is no
    // regular file was passed over; nullopt after the first call, and when nothing happened.
    std::optional<QString> takeRecoveryNotice();

    // Adds `defaults` to the registered defaults (a key registered again takes the new value).
    // Registered defaults are never stored.
    void registerDefaults(const QVariantMap& defaults);

    // The stored value, else the registered one, else an invalid QVariant.
    QVariant objectForKey(const QString& key) const;
    // Booleans and numbers as their truth; the strings "YES", "true" or a non-zero number as
    // true; anything else false.
    bool boolForKey(const QString& key) const;
    // Numbers (doubles truncated) and numeric strings; anything else 0.
    qint64 integerForKey(const QString& key) const;
    // Numbers and numeric strings; anything else 0.
    double doubleForKey(const QString& key) const;
    // Strings, and numbers as text; anything else a null string.
    QString stringForKey(const QString& key) const;
    // Arrays; anything else an empty list.
    QVariantList arrayForKey(const QString& key) const;
    // Dictionaries; anything else an empty map.
    QVariantMap dictionaryForKey(const QString& key) const;
    // Every key: the registered defaults with the stored values over them.
    QVariantMap dictionaryRepresentation() const;

    // Each write updates the values at once, writes the settings file and posts the change
    // notification. Returns false when the file could not be written (the value is kept in
    // memory). An invalid `value` removes the key.
    bool setObject(const QVariant& value, const QString& key);
    bool setBool(bool value, const QString& key);
    bool setInteger(qint64 value, const QString& key);
    bool setDouble(double value, const QString& key);
    // Removes the stored value, so the registered default shows again.
    bool removeObjectForKey(const QString& key);

private:
    bool writeToFile(const QString& key, const QVariant& value) const;
    void recoverDamagedSettingsFile();
    void postDidChange() const;

    const QString filePath_;
    mutable std::mutex mutex_;
    QVariantMap registered_;
    QVariantMap stored_;
    std::optional<QString> recoveryNotice_;
    // False for a path that is there but is no regular file.
    bool isFileUsable_ = true;
};
