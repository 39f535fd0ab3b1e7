#pragma once

#include "graphics/opengl/UGLGraphicProcessorInfoManager.h"
#include "graphics/opengl/UOpenGLManager.h"

#include <gtest/gtest.h>

#include <memory>

// A manager on the software renderer (OpenGL 1.4 replay) with the given offline rendering type.
inline std::unique_ptr<UOpenGLManager> softwareManager(
    quint64 type = UGLOfflineRenderingTypeFrameBufferObject)
{
    const UGLGraphicProcessorInfoManager& catalogue
        = UGLGraphicProcessorInfoManager::sharedGraphicProcessorInfoManager();
    UErrorPtr error;
    auto manager = UOpenGLManager::create(
        catalogue.softwareRendererVirtualScreenIdentifier(), 1040, type, false, &error);
    EXPECT_TRUE(manager) << (error ? error->localizedDescription().toStdString() : "");
    return manager;
}

// An eye on +z looking at the origin with one model unit per image point; z in [-100, 100] seen.
inline UOpenGLEyeLocation unitEye()
{
    UOpenGLEyeLocation eye;
    const double position[3] = { 0, 0, 100 };
    const double direction[3] = { 0, 0, -1 };
    const double up[3] = { 0, 1, 0 };
    eye.setEyeLocationWithPosition(position, direction, up, 1, 200, 1.0);
    return eye;
}
