// The window tests: QTest classes run without a display (QT_QPA_PLATFORM=offscreen). The first
// argument names the class to run; without one every class runs.
#include <QApplication>
#include <QLoggingCategory>
#include <QTest>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>

#include "ui/UiFixture.h"

namespace umbrix::ui::test {

static std::vector<std::pair<const char*, std::function<QObject*()>>>& Registry() {
    static std::vector<std::pair<const char*, std::function<QObject*()>>> tests;
    return tests;
}

void RegisterTest(const char* name, std::function<QObject*()> make) {
    Registry().emplace_back(name, std::move(make));
}

}  // namespace umbrix::ui::test

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // the offscreen platform reports every window operation it lacks
    QLoggingCategory::setFilterRules("default.warning=false");
    const char* only = argc > 1 && argv[1][0] != '-' ? argv[1] : nullptr;
    int failed = 0;
    bool ran = false;
    for (auto& [name, make] : umbrix::ui::test::Registry()) {
        if (only && std::strcmp(only, name) != 0) continue;
        ran = true;
        std::unique_ptr<QObject> test(make());
        char* args[] = {argv[0]};
        failed += QTest::qExec(test.get(), 1, args);
    }
    if (!ran) {
        std::fprintf(stderr, "no test class %s\n", only ? only : "");
        return 1;
    }
    return failed == 0 ? 0 : 1;
}
