// Opens arbitrary bytes as the settings file. Whatever the bytes, the file that stays must read
// again without damage and give the same settings; a damaged file is kept aside unchanged beside
// it with a notice, an undamaged one is left alone; and writing one preference keeps all others.
#include "platform/UUserDefaults.h"

#include <QCborValue>
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

const QString writtenKey = QStringLiteral("fuzz written key");

void require(bool condition)
{
    if (!condition)
        std::abort();
}

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Settings compared through their CBOR form, which a settings file holds them in.
bool isSameSettings(const QVariantMap& a, const QVariantMap& b)
{
    if (a.keys() != b.keys())
        return false;
    for (auto entry = a.cbegin(); entry != a.cend(); ++entry) {
        if (QCborValue::fromVariant(entry.value()) != QCborValue::fromVariant(b.value(entry.key())))
            return false;
    }
    return true;
}

QTemporaryDir* folder = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication application(*argc, *argv);
    static QTemporaryDir temporary;
    folder = &temporary;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    // A new file name each time: settings objects cache files by name.
    static quint64 count = 0;
    const QString path = folder->filePath(QStringLiteral("settings-%1.cbor").arg(++count));
    const QString backupPath = path + QStringLiteral(".damaged");
    const QByteArray data(reinterpret_cast<const char*>(bytes), qsizetype(size));
    {
        QFile file(path);
        require(file.open(QIODevice::WriteOnly) && file.write(data) == data.size());
    }
    auto defaults = std::make_unique<UUserDefaults>(path);
    const QVariantMap read = defaults->dictionaryRepresentation();
    if (defaults->takeRecoveryNotice())
        require(contentsOf(backupPath) == data);
    else
        require(contentsOf(path) == data && !QFile::exists(backupPath));

    UUserDefaults again(path);
    require(!again.takeRecoveryNotice());
    require(isSameSettings(again.dictionaryRepresentation(), read));

    require(defaults->setInteger(7, writtenKey));
    defaults.reset();
    UUserDefaults written(path);
    require(!written.takeRecoveryNotice());
    QVariantMap expected = read;
    expected.insert(writtenKey, qint64(7));
    require(isSameSettings(written.dictionaryRepresentation(), expected));
    QFile::remove(path);
    QFile::remove(backupPath);
    return 0;
}
