#pragma once

#include "platform/KeyedArchive.h"

#include <gtest/gtest.h>

// Reads an archive the test expects to be sound; a failure names the reader's reason.
inline KeyedArchive readKeyedArchive(const QByteArray& data)
{
    KeyedArchiveError error;
    const std::optional<KeyedArchive> archive = KeyedArchive::fromData(data, &error);
    EXPECT_TRUE(archive) << error.reason.toStdString();
    return archive.value_or(KeyedArchive());
}
