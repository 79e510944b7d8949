#pragma once

#include <QObject>
#include <QString>
#include <QTest>

#include <functional>
#include <memory>
#include <utility>

namespace uitest {

using TestFactory = std::function<std::unique_ptr<QObject>()>;

/// Makes a Qt Test class known to the ui test program under its class name.
struct Registration {
    Registration(const char* name, TestFactory factory);
};

/// Names the row of a table under check when a check inside its scope fails.
struct Trace {
    explicit Trace(QString text) : what(std::move(text)) {}
    Trace(const Trace&) = delete;
    Trace& operator=(const Trace&) = delete;
    ~Trace() {
        if (QTest::currentTestFailed())
            qWarning("  while checking %s", qPrintable(what));
    }
    QString what;
};

} // namespace uitest

#define UI_TRACE_JOIN2(a, b) a##b
#define UI_TRACE_JOIN(a, b) UI_TRACE_JOIN2(a, b)
#define UI_TRACE(text)                                                                             \
    const uitest::Trace UI_TRACE_JOIN(uiTrace, __LINE__) {                                         \
        text                                                                                       \
    }

#define UI_TEST(Class)                                                                             \
    static const uitest::Registration registration##Class(                                         \
        #Class, [] { return std::unique_ptr<QObject>(new Class); })
