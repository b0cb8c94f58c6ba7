# Boost (header-only parts), JsonCpp and GoogleTest, for both builds.
#
# Natively they come from Debian's -dev packages. For Windows the same Boost
# headers are used through an include directory holding only a link to them
# (adding /usr/include itself would pull in Linux headers), JsonCpp is built
# from Debian's source package and GoogleTest from /usr/src/googletest.

if(WIN32)
    set(boost_link_dir ${CMAKE_BINARY_DIR}/boost-include)
    file(MAKE_DIRECTORY ${boost_link_dir})
    if(NOT EXISTS ${boost_link_dir}/boost)
        file(CREATE_LINK /usr/include/boost ${boost_link_dir}/boost SYMBOLIC)
    endif()
    add_library(korvanel_boost INTERFACE)
    target_include_directories(korvanel_boost SYSTEM INTERFACE ${boost_link_dir})
    target_link_libraries(korvanel_boost INTERFACE ws2_32 mswsock)

    if(NOT EXISTS ${KORVANEL_DEPS_DIR}/jsoncpp/CMakeLists.txt)
        message(FATAL_ERROR "JsonCpp sources missing in ${KORVANEL_DEPS_DIR}: run scripts/setup")
    endif()
    set(BUILD_SHARED_LIBS OFF CACHE BOOL "" FORCE)
    set(BUILD_STATIC_LIBS ON CACHE BOOL "" FORCE)
    set(BUILD_OBJECT_LIBS OFF CACHE BOOL "" FORCE)
    set(JSONCPP_WITH_TESTS OFF CACHE BOOL "" FORCE)
    set(JSONCPP_WITH_POST_BUILD_UNITTEST OFF CACHE BOOL "" FORCE)
    set(JSONCPP_WITH_PKGCONFIG_SUPPORT OFF CACHE BOOL "" FORCE)
    set(JSONCPP_WITH_CMAKE_PACKAGE OFF CACHE BOOL "" FORCE)
    add_subdirectory(${KORVANEL_DEPS_DIR}/jsoncpp ${CMAKE_BINARY_DIR}/third_party/jsoncpp
                     EXCLUDE_FROM_ALL SYSTEM)
    add_library(korvanel_jsoncpp INTERFACE)
    target_link_libraries(korvanel_jsoncpp INTERFACE jsoncpp_static)

    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/third_party/googletest
                     EXCLUDE_FROM_ALL SYSTEM)
    set(korvanel_gtest_main GTest::gtest_main)
    if(NOT TARGET GTest::gtest_main)
        add_library(GTest::gtest_main ALIAS gtest_main)
        add_library(GTest::gmock ALIAS gmock)
    endif()
else()
    find_package(Boost 1.74 REQUIRED)
    add_library(korvanel_boost INTERFACE)
    target_link_libraries(korvanel_boost INTERFACE Boost::headers)
    find_package(Threads REQUIRED)
    target_link_libraries(korvanel_boost INTERFACE Threads::Threads)

    find_package(jsoncpp REQUIRED CONFIG)
    add_library(korvanel_jsoncpp INTERFACE)
    target_link_libraries(korvanel_jsoncpp INTERFACE JsonCpp::JsonCpp)

    find_package(GTest REQUIRED)
endif()
