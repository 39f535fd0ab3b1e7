#include "graphics/opengl/UGLEGLDisplays.h"

#include "foundation/errors/UFemErrorsOther.h"
#include "foundation/strings/UFormattedString.h"

#include <EGL/eglext.h>

#include <QByteArray>
#include <QList>

#include <algorithm>
#include <vector>

namespace {

constexpr EGLint maximumDeviceCount = 32;
constexpr quint64 pixelBufferRenderingType = 2;

bool containsWord(const char* list, const char* word)
{
    if (list == nullptr)
        return false;
    return QByteArray(list).split(' ').contains(QByteArray(word));
}

// EGL devices, hardware first and software last; empty when EGL cannot enumerate devices.
std::vector<EGLDeviceEXT> orderedDevices()
{
    const auto queryDevices
        = reinterpret_cast<PFNEGLQUERYDEVICESEXTPROC>(eglGetProcAddress("eglQueryDevicesEXT"));
    const auto queryDeviceString = reinterpret_cast<PFNEGLQUERYDEVICESTRINGEXTPROC>(
        eglGetProcAddress("eglQueryDeviceStringEXT"));
    if (queryDevices == nullptr || queryDeviceString == nullptr)
        return {};
    std::vector<EGLDeviceEXT> devices(maximumDeviceCount);
    EGLint count = 0;
    if (!queryDevices(maximumDeviceCount, devices.data(), &count) || count < 0)
        return {};
    devices.resize(std::size_t(count));
    std::stable_partition(devices.begin(), devices.end(), [&](EGLDeviceEXT device) {
        return !containsWord(queryDeviceString(device, EGL_EXTENSIONS), "EGL_MESA_device_software");
    });
    return devices;
}

EGLDisplay platformDisplay(EGLenum platform, void* nativeDisplay)
{
    const auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getPlatformDisplay == nullptr)
        return EGL_NO_DISPLAY;
    return getPlatformDisplay(platform, nativeDisplay, nullptr);
}

UErrorPtr displayError(quint64 virtualScreenIdentifier)
{
    return UFemUnexpectedError_withDescription(ULocalizedFormattedString(
        "The OpenGL display of renderer %lu could not be opened (EGL error %lu).",
        virtualScreenIdentifier, quint64(eglGetError())));
}

} // namespace

quint64 UGLEGLDisplays::virtualScreenCount(UErrorPtr* error)
{
    const std::vector<EGLDeviceEXT> devices = orderedDevices();
    if (!devices.empty())
        return devices.size();
    if (display(0, error) == EGL_NO_DISPLAY)
        return 0;
    return 1;
}

EGLDisplay UGLEGLDisplays::display(quint64 virtualScreenIdentifier, UErrorPtr* error)
{
    const std::vector<EGLDeviceEXT> devices = orderedDevices();
    EGLDisplay result = EGL_NO_DISPLAY;
    if (virtualScreenIdentifier < devices.size())
        result = platformDisplay(EGL_PLATFORM_DEVICE_EXT, devices[virtualScreenIdentifier]);
    else if (devices.empty() && virtualScreenIdentifier == 0)
        result = platformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY);
    if (result == EGL_NO_DISPLAY || !eglInitialize(result, nullptr, nullptr)) {
        UFemSetError(error, displayError(virtualScreenIdentifier));
        return EGL_NO_DISPLAY;
    }
    return result;
}

void UGLEGLDisplays::terminateDisplays()
{
    const std::vector<EGLDeviceEXT> devices = orderedDevices();
    std::vector<EGLDisplay> displays;
    for (EGLDeviceEXT device : devices)
        displays.push_back(platformDisplay(EGL_PLATFORM_DEVICE_EXT, device));
    if (devices.empty())
        displays.push_back(platformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY));
    for (EGLDisplay display : displays) {
        if (display != EGL_NO_DISPLAY)
            eglTerminate(display);
    }
    eglReleaseThread();
}

bool UGLEGLDisplays::chooseConfig(
    EGLDisplay display, quint64 offlineRenderingType, EGLConfig* config, UErrorPtr* error)
{
    const bool needsPixelBuffer = offlineRenderingType == pixelBufferRenderingType
        || !hasDisplayExtension(display, "EGL_KHR_surfaceless_context");
    const EGLint attributes[] = { EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8,
        EGL_ALPHA_SIZE, 8, EGL_DEPTH_SIZE, 24, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
        EGL_SURFACE_TYPE, needsPixelBuffer ? EGL_PBUFFER_BIT : 0, EGL_NONE };
    EGLint count = 0;
    if (!eglChooseConfig(display, attributes, config, 1, &count) || count < 1) {
        UFemSetError(error,
            UFemUnexpectedError_withDescription(
                QStringLiteral("Creating OpenGLPixelFormat failed.")));
        return false;
    }
    return true;
}

bool UGLEGLDisplays::hasDisplayExtension(EGLDisplay display, const char* extension)
{
    return containsWord(eglQueryString(display, EGL_EXTENSIONS), extension);
}
