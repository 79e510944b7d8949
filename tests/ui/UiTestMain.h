#pragma once

#include <QObject>

#include <functional>
#include <memory>

namespace uitest {

using TestFactory = std::function<std::unique_ptr<QObject>()>;

/// Makes a Qt Test class known to the ui test program under its class name.
struct Registration {
    Registration(const char* name, TestFactory factory);
};

} // namespace uitest

#define UI_TEST(Class)                                                                             \
    static const uitest::Registration registration##Class(                                         \
        #Class, [] { return std::unique_ptr<QObject>(new Class); })
