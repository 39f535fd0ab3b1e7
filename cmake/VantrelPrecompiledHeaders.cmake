# Precompiled headers: the outside headers (the standard library, Qt, GoogleTest) take more than half
# of a compile. Every target of one kind (Qt Core, Gui or Widgets; test program or not) reuses one
# precompiled set built by a small owner target with the same compile flags, so that a tree builds
# six of them at most. Sources must still include what they use: VANTREL_PCH=OFF builds without.

set(VANTREL_PCH_STANDARD
    <algorithm> <array> <atomic> <chrono> <cmath> <cstddef> <cstdint> <cstring> <functional>
    <limits> <map> <memory> <mutex> <optional> <span> <stdexcept> <string> <thread>
    <unordered_map> <utility> <vector>)
set(VANTREL_PCH_QT_CORE
    <QByteArray> <QCoreApplication> <QDir> <QFile> <QFileInfo> <QHash> <QObject> <QPointer>
    <QString> <QStringList> <QVariant> <QVariantMap> <QtGlobal>)
set(VANTREL_PCH_QT_GUI <QFont> <QGuiApplication> <QImage> <QKeyEvent> <QPainter>)
set(VANTREL_PCH_QT_WIDGETS
    <QApplication> <QCheckBox> <QComboBox> <QDialog> <QLabel> <QLineEdit> <QPushButton>
    <QVBoxLayout> <QWidget>)
set(VANTREL_PCH_TESTS <gtest/gtest.h>)

# vantrel_pch_kind(TARGET RESULT): the highest Qt module TARGET links (core, gui or widgets),
# followed by "_tests" when it links GoogleTest.
function(vantrel_pch_kind target result)
    get_target_property(direct ${target} LINK_LIBRARIES)
    set(linked "")
    foreach(library IN LISTS direct)
        vantrel_linked_targets(${library} reached)
        list(APPEND linked ${reached})
    endforeach()
    if(Qt6::Widgets IN_LIST linked)
        set(kind widgets)
    elseif(Qt6::Gui IN_LIST linked)
        set(kind gui)
    else()
        set(kind core)
    endif()
    if(GTest::gtest IN_LIST linked OR GTest::GTest IN_LIST linked)
        string(APPEND kind _tests)
    endif()
    set(${result} ${kind} PARENT_SCOPE)
endfunction()

# vantrel_add_pch_owner(KIND): the object library that builds the precompiled set of KIND. Its one
# source is empty; it links what the targets of that kind link, so its flags equal theirs.
function(vantrel_add_pch_owner kind)
    set(owner vantrel_pch_${kind})
    set(source ${PROJECT_BINARY_DIR}/pch/${owner}.cpp)
    if(NOT EXISTS ${source})
        file(WRITE ${source} "// Builds the precompiled headers that the targets of its kind reuse.\n")
    endif()
    add_library(${owner} OBJECT ${source})
    set_target_properties(${owner} PROPERTIES AUTOMOC OFF AUTOUIC OFF)
    set(headers ${VANTREL_PCH_STANDARD} ${VANTREL_PCH_QT_CORE})
    set(libraries Qt6::Core)
    if(kind MATCHES "^(gui|widgets)")
        list(APPEND headers ${VANTREL_PCH_QT_GUI})
        set(libraries Qt6::Gui)
    endif()
    if(kind MATCHES "^widgets")
        list(APPEND headers ${VANTREL_PCH_QT_WIDGETS})
        set(libraries Qt6::Widgets)
    endif()
    if(kind MATCHES "_tests$")
        list(APPEND headers ${VANTREL_PCH_TESTS})
        list(APPEND libraries GTest::gtest GTest::gmock)
    endif()
    target_link_libraries(${owner} PRIVATE ${libraries})
    target_precompile_headers(${owner} PRIVATE ${headers})
endfunction()

# vantrel_compiled_targets(DIRECTORY RESULT): the libraries and programs that DIRECTORY and the
# folders below it build from C++ sources.
function(vantrel_compiled_targets directory result)
    get_directory_property(targets DIRECTORY ${directory} BUILDSYSTEM_TARGETS)
    set(compiled "")
    foreach(target IN LISTS targets)
        get_target_property(type ${target} TYPE)
        get_target_property(sources ${target} SOURCES)
        if(type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|OBJECT_LIBRARY)$"
           AND sources MATCHES "\\.cpp")
            list(APPEND compiled ${target})
        endif()
    endforeach()
    get_directory_property(folders DIRECTORY ${directory} SUBDIRECTORIES)
    foreach(folder IN LISTS folders)
        vantrel_compiled_targets(${folder} below)
        list(APPEND compiled ${below})
    endforeach()
    set(${result} ${compiled} PARENT_SCOPE)
endfunction()

# vantrel_precompile_all_headers(): every library and program of the tree reuses the precompiled
# set of its kind.
function(vantrel_precompile_all_headers)
    if(NOT VANTREL_PCH)
        return()
    endif()
    vantrel_compiled_targets(${PROJECT_SOURCE_DIR} targets)
    foreach(target IN LISTS targets)
        vantrel_pch_kind(${target} kind)
        if(NOT TARGET vantrel_pch_${kind})
            vantrel_add_pch_owner(${kind})
        endif()
        target_precompile_headers(${target} REUSE_FROM vantrel_pch_${kind})
    endforeach()
endfunction()
