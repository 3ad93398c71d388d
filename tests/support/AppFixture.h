#pragma once
// An Application on a FakeHost with its own temporary folder and locations list.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "models/Application.h"
#include "models/DataFileWindowModel.h"
#include "models/DetailTableModel.h"
#include "models/MainWindowModel.h"
#include "models/OutputWindowModel.h"
#include "models/PresettingsModel.h"
#include "support/FakeHost.h"
#include "support/TempDir.h"

namespace umbrix::test {

inline const char* kTestLocations =
    "7.85\t48.00\t1.0\t278\tFreiburg\n"
    "13.40\t52.52\t1.0\t34\tBerlin\n"
    "151.21\t-33.87\t10.0\t39\tSydney\n"
    "-74.01\t40.71\t-5.0\t10\tNew York\n";

class AppFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        writeFile("locations.lst", kTestLocations);
        makeApp();
    }
    void TearDown() override { app.reset(); }
    void makeApp(bool useSession = false) {
        app.reset();
        AppSettings s;
        s.programDir = dir.string();
        app = std::make_unique<Application>(host, s);
        app->start(useSession);
    }
    std::string path(const std::string& name) const { return (dir / name).string(); }
    void writeFile(const std::string& name, const std::string& content) {
        std::ofstream(dir / name, std::ios::binary) << content;
    }
    std::string readFile(const std::string& name) const {
        std::ifstream in(dir / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    MainWindowModel& main() { return app->mainWindow(); }
    std::vector<std::string>& table() { return app->outputWindow().lines(); }

    FakeHost host;
    TempDir temp;
    const std::filesystem::path& dir = temp.path();
    std::unique_ptr<Application> app;
};

// Splits a line at tabs (a final tab gives no empty last field).
inline std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> out;
    std::string cur;
    for (char c : line) {
        if (c == '\t') {
            out.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) out.push_back(cur);
    return out;
}

// The value under a column name of the main table (names on line 7, first row on line 9).
inline std::string Column(const std::vector<std::string>& table, const std::string& name) {
    std::vector<std::string> names = Fields(table.at(6)), row = Fields(table.at(8));
    for (size_t i = 0; i < names.size() && i < row.size(); ++i)
        if (names[i] == name) return row[i];
    return "<no column " + name + ">";
}

}  // namespace umbrix::test
