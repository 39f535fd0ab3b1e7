#include "platform/UUserDefaults.h"

#include "platform/UFileWriting.h"
#include "platform/UMainThread.h"
#include "platform/UNotificationCenter.h"

#include <QBuffer>
#include <QCborMap>
#include <QCborStreamReader>
#include <QCborValue>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {

const QString FallbackName = QStringLiteral("Vantrel");
constexpr const char* settingsExtension = "cbor";
// Settings files are small; a larger one is read up to here and kept aside like a damaged one.
constexpr qint64 maximumSettingsFileBytes = 64 * 1024 * 1024;

bool readCborSettings(QIODevice& device, QSettings::SettingsMap& map)
{
    const QByteArray bytes = device.readAll();
    if (bytes.isEmpty())
        return true;
    QCborParserError error;
    const QCborValue top = QCborValue::fromCbor(bytes, &error);
    if (error.error != QCborError::NoError || !top.isMap())
        return false;
    const QCborMap entries = top.toMap();
    for (auto entry = entries.constBegin(); entry != entries.constEnd(); ++entry) {
        if (!entry.key().isString())
            return false;
        map.insert(entry.key().toString(), entry.value().toVariant());
    }
    return true;
}

QByteArray cborSettingsData(const QSettings::SettingsMap& map)
{
    QCborMap entries;
    for (auto entry = map.constBegin(); entry != map.constEnd(); ++entry)
        entries.insert(entry.key(), QCborValue::fromVariant(entry.value()));
    // No transformation: doubles stay 64-bit.
    return QCborValue(entries).toCbor();
}

bool writeCborSettings(QIODevice& device, const QSettings::SettingsMap& map)
{
    return UWriteWholeAndFlush(device, cborSettingsData(map));
}

// The entries of a settings file that can be read, in order, up to the first damage: entries
// with a key that is no text are left out, and a truncated or broken file ends where it breaks.
QSettings::SettingsMap readableCborSettings(const QByteArray& bytes)
{
    QSettings::SettingsMap map;
    QCborStreamReader reader(bytes);
    if (!reader.isMap() || !reader.enterContainer())
        return map;
    while (reader.lastError() == QCborError::NoError && reader.hasNext()) {
        const QCborValue key = QCborValue::fromCbor(reader);
        if (reader.lastError() != QCborError::NoError)
            break;
        const QCborValue value = QCborValue::fromCbor(reader);
        if (reader.lastError() != QCborError::NoError)
            break;
        if (key.isString())
            map.insert(key.toString(), value.toVariant());
    }
    return map;
}

QSettings::Format cborFormat()
{
    static const QSettings::Format format = QSettings::registerFormat(
        QString::fromLatin1(settingsExtension), readCborSettings, writeCborSettings);
    return format;
}

bool isNumber(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

bool isString(const QVariant& value)
{
    return value.typeId() == QMetaType::QString;
}

qint64 truncatedInteger(double value)
{
    constexpr double limit = 9.2233720368547758e18; // 2^63
    if (!std::isfinite(value) || value >= limit || value < -limit)
        return 0;
    return qint64(value);
}

QString settingsName(const QString& name)
{
    return name.isEmpty() ? FallbackName : name;
}

} // namespace

UUserDefaults& UUserDefaults::standardUserDefaults()
{
    // Where QSettings keeps the user's file of this format, worked out without a settings object:
    // making one reads the file (and the organisation's), which may be a FIFO or a device.
    static UUserDefaults defaults(
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/'
        + settingsName(QCoreApplication::organizationName()) + u'/'
        + settingsName(QCoreApplication::applicationName()) + u'.'
        + QLatin1String(settingsExtension));
    return defaults;
}

UUserDefaults::UUserDefaults(const QString& filePath)
    : filePath_(filePath)
{
    // A FIFO would block the start and a device (/dev/zero) would be read without end; a
    // directory or such is no settings file either, and nothing is written over it.
    const QFileInfo info(filePath_);
    isFileUsable_ = !info.exists() || info.isFile();
    if (!isFileUsable_) {
        recoveryNotice_ = QStringLiteral("The settings file “%1” is not a regular file: no "
                                         "settings were read from it, and none are written to it.")
                              .arg(filePath_);
        return;
    }
    recoverDamagedSettingsFile();
    const QSettings settings(filePath_, cborFormat());
    for (const QString& key : settings.allKeys())
        stored_.insert(key, settings.value(key));
}

// Before any settings object reads the file: one bad entry would make it read nothing, and the
// next write would leave that one key alone in the file.
void UUserDefaults::recoverDamagedSettingsFile()
{
    QFile file(filePath_);
    if (!file.open(QIODevice::ReadOnly))
        return;
    // Reading up to the bound would take a buffer of the bound's size for every small file.
    const QByteArray bytes
        = file.read(std::clamp<qint64>(file.size(), 0, maximumSettingsFileBytes));
    file.close();
    QBuffer strict;
    strict.setData(bytes);
    QSettings::SettingsMap ignored;
    if (strict.open(QIODevice::ReadOnly) && readCborSettings(strict, ignored))
        return;
    const QString backupPath = filePath_ + QStringLiteral(".damaged");
    QFile::remove(backupPath);
    if (!QFile::copy(filePath_, backupPath))
        return;
    const QSettings::SettingsMap readable = readableCborSettings(bytes);
    // Should the file stay as it is, the copy beside it still keeps what it held.
    (void)UWriteFileWhole(filePath_, cborSettingsData(readable));
    recoveryNotice_ = QStringLiteral("The settings file “%1” was damaged: %2 settings were read "
                                     "from it, and the damaged file was kept as “%3”.")
                          .arg(filePath_)
                          .arg(readable.size())
                          .arg(backupPath);
}

std::optional<QString> UUserDefaults::takeRecoveryNotice()
{
    std::lock_guard lock(mutex_);
    return std::exchange(recoveryNotice_, std::nullopt);
}

void UUserDefaults::registerDefaults(const QVariantMap& defaults)
{
    std::lock_guard lock(mutex_);
    registered_.insert(defaults);
}

QVariant UUserDefaults::objectForKey(const QString& key) const
{
    std::lock_guard lock(mutex_);
    auto stored = stored_.constFind(key);
    if (stored != stored_.constEnd())
        return *stored;
    return registered_.value(key);
}

bool UUserDefaults::boolForKey(const QString& key) const
{
    const QVariant value = objectForKey(key);
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (isNumber(value))
        return value.toDouble() != 0.0;
    if (isString(value)) {
        const QString text = value.toString().trimmed();
        return text.compare(QLatin1String("YES"), Qt::CaseInsensitive) == 0
            || text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0
            || text.toDouble() != 0.0;
    }
    return false;
}

qint64 UUserDefaults::integerForKey(const QString& key) const
{
    const QVariant value = objectForKey(key);
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? 1 : 0;
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float)
        return truncatedInteger(value.toDouble());
    if (isNumber(value))
        return value.toLongLong();
    if (isString(value)) {
        bool ok = false;
        const qint64 integer = value.toString().trimmed().toLongLong(&ok);
        return ok ? integer : truncatedInteger(value.toString().trimmed().toDouble());
    }
    return 0;
}

double UUserDefaults::doubleForKey(const QString& key) const
{
    const QVariant value = objectForKey(key);
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? 1.0 : 0.0;
    if (isNumber(value))
        return value.toDouble();
    // QString::toDouble reads the C locale's notation whatever the user's locale.
    if (isString(value))
        return value.toString().trimmed().toDouble();
    return 0.0;
}

QString UUserDefaults::stringForKey(const QString& key) const
{
    const QVariant value = objectForKey(key);
    if (isString(value))
        return value.toString();
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float)
        return QString::number(value.toDouble(), 'g', std::numeric_limits<double>::max_digits10);
    if (isNumber(value))
        return value.toString();
    return QString();
}

QVariantList UUserDefaults::arrayForKey(const QString& key) const
{
    const QVariant value = objectForKey(key);
    return value.typeId() == QMetaType::QVariantList ? value.toList() : QVariantList();
}

QVariantMap UUserDefaults::dictionaryForKey(const QString& key) const
{
    const QVariant value = objectForKey(key);
    return value.typeId() == QMetaType::QVariantMap ? value.toMap() : QVariantMap();
}

QVariantMap UUserDefaults::dictionaryRepresentation() const
{
    std::lock_guard lock(mutex_);
    QVariantMap all = registered_;
    all.insert(stored_);
    return all;
}

bool UUserDefaults::setObject(const QVariant& value, const QString& key)
{
    if (key.isEmpty())
        return false;
    bool written = false;
    {
        std::lock_guard lock(mutex_);
        if (value.isValid())
            stored_.insert(key, value);
        else
            stored_.remove(key);
        written = writeToFile(key, value);
    }
    postDidChange();
    return written;
}

bool UUserDefaults::setBool(bool value, const QString& key)
{
    return setObject(QVariant(value), key);
}

bool UUserDefaults::setInteger(qint64 value, const QString& key)
{
    return setObject(QVariant(value), key);
}

bool UUserDefaults::setDouble(double value, const QString& key)
{
    return setObject(QVariant(value), key);
}

bool UUserDefaults::removeObjectForKey(const QString& key)
{
    return setObject(QVariant(), key);
}

bool UUserDefaults::writeToFile(const QString& key, const QVariant& value) const
{
    if (!isFileUsable_)
        return false;
    // A settings object per write, made and used on the writing thread: one QSettings object
    // must not be shared between threads.
    QSettings settings(filePath_, cborFormat());
    if (value.isValid())
        settings.setValue(key, value);
    else
        settings.remove(key);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

void UUserDefaults::postDidChange() const
{
    const void* sender = this;
    auto post = [sender] {
        UNotificationCenter::defaultCenter().post(UUserDefaultsDidChangeNotification, sender);
    };
    if (UMainThread::isMainThread())
        post();
    else
        UMainThread::perform(post, false);
}
