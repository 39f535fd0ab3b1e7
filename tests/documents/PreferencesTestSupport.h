#pragma once

#include "../graphics/FakeRendererSource.h"

#include "documents/preferences/UFemUserPreferences.h"
#include "foundation/UFemFolderItemKeys.h"
#include "graphics/opengl/UGLGraphicProcessorInfoManager.h"

#include <gtest/gtest.h>

#include <memory>

// Renderers as the catalogue lists them: the first renders into pixel buffers only, the second
// cannot render off-screen at all, the software renderer (last) has both.
inline std::vector<UOpenGLGraphicProcessorInfoRecord> threeTestRenderers()
{
    return { fakeRenderer("GPU A", 2010, false, true), fakeRenderer("GPU B", 1020, false, false),
        fakeRenderer("Software", 4050, true, true) };
}

inline std::unique_ptr<UGLGraphicProcessorInfoManager> rendererCatalogueOf(
    std::vector<UOpenGLGraphicProcessorInfoRecord> records)
{
    auto catalogue = std::make_unique<UGLGraphicProcessorInfoManager>(
        std::make_shared<FakeRendererSource>(std::move(records)));
    UErrorPtr error;
    EXPECT_TRUE(catalogue->update(&error));
    return catalogue;
}

inline QVariantMap storedFolderItem(const QString& name, quint64 orderHint, const QVariant& object)
{
    return { { UFemFolderItemNameStringPreferencesKey, name },
        { UFemFolderItemOrderHintNumberPreferencesKey, qulonglong(orderHint) },
        { UFemFolderItemObjectPreferencesKey, object } };
}

// A snapshot of `stored` over the registered defaults.
inline UFemUserPreferencesPtr preferencesWith(const QVariantMap& stored,
    const UGLGraphicProcessorInfoManager& catalogue, QStringList* messages = nullptr)
{
    QVariantMap dictionary = UFemUserPreferences::registeredDefaults();
    dictionary.insert(stored);
    return UFemUserPreferences::userPreferencesWithPreferencesDictionary(
        dictionary, catalogue, messages);
}
