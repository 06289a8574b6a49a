#pragma once
// Registration of Qt Test classes: every tests/<area>/ folder is one
// executable whose main() (in TestMain.cpp) runs each registered class.
//   class TextTest : public QObject { Q_OBJECT ... };
//   FW_TEST(TextTest)
// Run one class alone with: test_<area> TextTest [QTest options]
#include <QObject>
#include <functional>
#include <memory>
#include <vector>

namespace fwtest {
struct Entry {
    const char *name;
    std::function<std::unique_ptr<QObject>()> make;
};
std::vector<Entry> &registry();
struct Registrar {
    Registrar(const char *name, std::function<std::unique_ptr<QObject>()> make)
    {
        registry().push_back({name, std::move(make)});
    }
};
} // namespace fwtest

#define FW_TEST(Class)                                                                                                 \
    static fwtest::Registrar fw_registrar_##Class(#Class, [] { return std::unique_ptr<QObject>(new Class); });
