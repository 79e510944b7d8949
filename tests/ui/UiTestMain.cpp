#include "UiTestMain.h"

#include "ui/Application.h"

#include <QApplication>
#include <QTest>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace uitest {

static std::map<std::string, TestFactory>& registry() {
    static std::map<std::string, TestFactory> tests;
    return tests;
}

Registration::Registration(const char* name, TestFactory factory) {
    registry().emplace(name, std::move(factory));
}

} // namespace uitest

// ui_tests [TestClass [Qt Test arguments]]: runs one test class, or all of them.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ui::prepareApplication(); // as the program does: captions carry the name themselves
    std::vector<char*> args{argv[0]};
    std::string only;
    if (argc > 1 && argv[1][0] != '-') {
        only = argv[1];
        for (int i = 2; i < argc; ++i)
            args.push_back(argv[i]);
    } else {
        for (int i = 1; i < argc; ++i)
            args.push_back(argv[i]);
    }
    int failures = 0;
    bool ran = false;
    for (const auto& [name, factory] : uitest::registry()) {
        if (!only.empty() && name != only)
            continue;
        ran = true;
        const std::unique_ptr<QObject> test = factory();
        failures += QTest::qExec(test.get(), static_cast<int>(args.size()), args.data());
    }
    if (!ran) {
        std::fprintf(stderr, "no test class %s\n", only.c_str());
        return 2;
    }
    return failures == 0 ? 0 : 1;
}
