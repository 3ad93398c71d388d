// locations.lst and the session file.
#include "models/Locations.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/Error.h"
#include "platform/IniFile.h"
#include "platform/TextFile.h"
#include "support/AppFixture.h"

namespace umbrix::test {
namespace {

TEST(LocationLine, ReadAndWrite) {
    auto loc = ParseLocationLine(" 7.85 \t48.00\t1.0\t278\tFreiburg im Breisgau\r");
    ASSERT_TRUE(loc);
    EXPECT_FLOAT_EQ(loc->longitude, 7.85f);
    EXPECT_FLOAT_EQ(loc->latitude, 48.0f);
    EXPECT_FLOAT_EQ(loc->timeZone, 1.0f);
    EXPECT_EQ(loc->altitude, 278);
    EXPECT_EQ(loc->name, "Freiburg im Breisgau");
    EXPECT_EQ(LocationLine(*loc), "7.85\t48.00\t1.0\t278\tFreiburg im Breisgau");
    EXPECT_EQ(LocationLine({-74.006f, 40.714f, -5, 10, "New York"}),
              "-74.01\t40.71\t-5.0\t10\tNew York");
    EXPECT_FALSE(ParseLocationLine("7.85\t48.00\tone\t278\tX"));
    EXPECT_FALSE(ParseLocationLine("7.85\t48.00\t1.0"));
    EXPECT_FALSE(ParseLocationLine("7.85\t48.00\t1.0\t27.5\tX"));
    EXPECT_EQ(LocationKey("a\tb\tc\td\te\tf"), "e\tf");
    EXPECT_EQ(LocationKey(std::string(90, 'x')), std::string(80, 'x'));
}

// The list that ships with the program: every line read, every value a place on Earth can have,
// each name once.
TEST(ShippedLocations, EveryLineIsAPlace) {
    const LocationList list = LoadLocationList(UMBRIX_SOURCE_DIR "/data/locations.lst");
    EXPECT_TRUE(list.error.empty()) << list.error;
    EXPECT_TRUE(list.skipped.empty());
    ASSERT_GE(list.locations.size(), 12u);
    std::vector<std::string> names;
    for (const Location& loc : list.locations) {
        SCOPED_TRACE(loc.name);
        EXPECT_TRUE(loc.longitude >= -180 && loc.longitude <= 180);
        EXPECT_TRUE(loc.latitude >= -90 && loc.latitude <= 90);
        // hours east of UTC as the time zone field takes them, and the sun's own time within
        // three hours (a sign slip east/west would be off by far more)
        EXPECT_TRUE(loc.timeZone > -12 && loc.timeZone <= 12);
        EXPECT_LE(std::fabs(loc.timeZone - loc.longitude / 15), 3.0);
        EXPECT_TRUE(loc.altitude >= -50 && loc.altitude <= 5000);
        EXPECT_LE(loc.name.size(), 40u);
        names.push_back(loc.name);
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end());
}

using LocationsTest = AppFixture;

TEST_F(LocationsTest, UnreadableLinesAreSkippedAndReportedWithTheirNumbers) {
    struct Case {
        const char* what;
        std::string content;
        std::vector<std::string> names;
        std::vector<std::size_t> skipped;
    };
    const Case cases[] = {
        {"blank lines and a broken one",
         "\n1\t2\t0\t3\tA\r\n   \n4\t5\t1\t6\tB\nbroken line\n7\t8\t0\t9\tC\n",
         {"A", "B", "C"},
         {5}},
        {"byte-order mark and comments",
         "\xEF\xBB\xBF# my places\n1\t2\t0\t3\tA\n  # x\n",
         {"A"},
         {}},
        {"mark before the first location",
         "\xEF\xBB\xBF"
         "1\t2\t0\t3\tA\n",
         {"A"},
         {}},
        {"half a line from a full disk", "1\t2\t0\t3\tA\n4\t5\t1", {"A"}, {2}},
        {"a name with a line break", "1\t2\t0\t3\tTwo\nLines\n4\t5\t1\t6\tB\n", {"Two", "B"}, {2}},
        {"a name with a tab, no name",
         "1\t2\t0\t3\tA\tB\n4\t5\t1\t6\t\n7\t8\t0\t9\tC\n",
         {"C"},
         {1, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeFile("l.lst", c.content);
        LocationList list = LoadLocationList(path("l.lst"));
        std::vector<std::string> names;
        for (const auto& loc : list.locations) names.push_back(loc.name);
        EXPECT_EQ(names, c.names);
        std::vector<std::size_t> skipped;
        for (const auto& line : list.skipped) skipped.push_back(line.line);
        EXPECT_EQ(skipped, c.skipped);
        EXPECT_EQ(list.error, "");
    }
    // UTF-16 is refused as a whole, with the reason; a missing file is an empty list
    writeFile("u.lst", std::string("\xFF\xFE"
                                   "1\0\t\0",
                                   6));
    EXPECT_NE(LoadLocationList(path("u.lst")).error.find("UTF-16"), std::string::npos);
    EXPECT_TRUE(LoadLocationList(path("u.lst")).locations.empty());
    EXPECT_TRUE(LoadLocations(path("missing.lst")).empty());
    EXPECT_EQ(LoadLocationList(path("missing.lst")).error, "");
}

TEST_F(LocationsTest, NamesThatCouldNotBeReadBackAreRefused) {
    const std::string before = readFile("locations.lst");
    for (const char* name : {"Tab\tName", "Two\nLines", "Carriage\rReturn"}) {
        SCOPED_TRACE(name);
        EXPECT_THROW(AddLocation(path("locations.lst"), {1, 2, 0, 3, name}), UmbrixError);
        main().type("ComboOrt", name);
        EXPECT_THROW(main().click("ButtonOrtHinzu"), UmbrixError);
    }
    EXPECT_EQ(readFile("locations.lst"), before);
}

TEST_F(LocationsTest, AddReplacesCreatesAndEndsLines) {
    // missing file: created
    AddLocation(path("new.lst"), {1, 2, 0, 3, "A"});
    EXPECT_EQ(readFile("new.lst"), "1.00\t2.00\t0.0\t3\tA\n");
    // no final line end: one is added before the new line
    writeFile("l.lst", "1.00\t2.00\t0.0\t3\tA");
    AddLocation(path("l.lst"), {4, 5, 1, 6, "B"});
    EXPECT_EQ(readFile("l.lst"), "1.00\t2.00\t0.0\t3\tA\n4.00\t5.00\t1.0\t6\tB\n");
    // a name that exists: its line is replaced
    AddLocation(path("l.lst"), {7, 8, 2, 9, "A"});
    EXPECT_EQ(readFile("l.lst"), "7.00\t8.00\t2.0\t9\tA\n4.00\t5.00\t1.0\t6\tB\n");
}

TEST_F(LocationsTest, ProgramsChangingTheListAtOnceLoseNothing) {
    // Several programs add places of their own while others add and remove one place over and
    // over: every addition must survive.
    const std::string file = path("shared.lst");
    writeFile("shared.lst", "");
    constexpr int kWriters = 3, kEach = 15, kTogglers = 2;
    std::vector<pid_t> children;
    for (int w = 0; w < kWriters + kTogglers; ++w) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            int status = 0;
            try {
                for (int i = 0; i < kEach; ++i) {
                    if (w < kWriters) {
                        AddLocation(file, {float(w), float(i), 0, i,
                                           "P" + std::to_string(w) + "_" + std::to_string(i)});
                    } else {
                        const std::string name = "Temp" + std::to_string(w);
                        AddLocation(file, {0, 0, 0, 0, name});
                        RemoveLocation(file, name);
                    }
                }
            } catch (...) {
                status = 1;
            }
            ::_exit(status);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    LocationList list = LoadLocationList(file);
    EXPECT_TRUE(list.skipped.empty());
    EXPECT_EQ(list.locations.size(), std::size_t(kWriters * kEach));
    for (int w = 0; w < kWriters; ++w)
        for (int i = 0; i < kEach; ++i)
            EXPECT_TRUE(FindLocation(file, "P" + std::to_string(w) + "_" + std::to_string(i)))
                << w << " " << i;
}

TEST_F(LocationsTest, RemoveDeletesTheExactNameOnly) {
    writeFile("l.lst", "1\t1\t0\t1\tBerlin Mitte\n2\t2\t0\t2\tBerlin\n3\t3\t0\t3\tBerlin\n");
    EXPECT_TRUE(RemoveLocation(path("l.lst"), "Berlin"));
    EXPECT_EQ(readFile("l.lst"), "1\t1\t0\t1\tBerlin Mitte\n3\t3\t0\t3\tBerlin\n");
    const std::string before = readFile("l.lst");
    EXPECT_FALSE(RemoveLocation(path("l.lst"), "Berl"));
    EXPECT_EQ(readFile("l.lst"), before);
}

TEST_F(LocationsTest, LookupOfUnknownNameGivesZerosAndDuplicatesTheFirst) {
    main().type("ComboOrt", "Atlantis");
    main().lookUpLocation();
    EXPECT_EQ(main().text("ComboOrt"), "");
    EXPECT_EQ(main().text("EditLg"), "0\u00b00'");
    EXPECT_EQ(main().text("EditZz"), "0.0");
    EXPECT_EQ(main().text("EditNn"), "0");
    writeFile("locations.lst", std::string(kTestLocations) + "9.00\t9.00\t2.0\t99\tBerlin\n");
    main().type("ComboOrt", "Berlin");
    main().lookUpLocation();
    EXPECT_EQ(main().text("EditNn"), "34");
}

TEST_F(LocationsTest, ButtonsAddAndRemoveLocations) {
    main().type("ComboOrt", "Home");
    EXPECT_TRUE(main().enabled("ButtonOrtHinzu"));
    EXPECT_FALSE(main().enabled("ButtonOrtEntf"));
    main().typeAndLeave("EditLg", "8,30");
    main().typeAndLeave("EditBr", "47.5");
    main().typeAndLeave("EditZz", "1");
    main().typeAndLeave("EditNn", "400");
    main().click("ButtonOrtHinzu");
    EXPECT_NE(readFile("locations.lst").find("8.50\t47.50\t1.0\t400\tHome\n"), std::string::npos);
    const auto& items = main().ctl("ComboOrt").items;
    EXPECT_EQ(items,
              (std::vector<std::string>{"Berlin", "Freiburg", "Home", "New York", "Sydney"}));
    EXPECT_TRUE(main().enabled("ButtonOrtEntf"));
    EXPECT_FALSE(main().enabled("ButtonOrtHinzu"));
    // removing asks first; "No" keeps the place
    main().click("ButtonOrtEntf");
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(host.questions[0], "Remove the stored location \"Home\"?");
    EXPECT_NE(readFile("locations.lst").find("Home"), std::string::npos);
    // removing selects the entry now at the same position
    host.askAnswers.push_back(Answer::Yes);
    main().click("ButtonOrtEntf");
    EXPECT_EQ(readFile("locations.lst").find("Home"), std::string::npos);
    EXPECT_EQ(main().text("ComboOrt"), "New York");
    EXPECT_EQ(main().text("EditZz"), "-5.0");
    // the last entry: the one before it takes its place
    app->registry().set("ComboOrt", "Sydney");
    host.askAnswers.push_back(Answer::Yes);
    main().click("ButtonOrtEntf");
    EXPECT_EQ(main().text("ComboOrt"), "New York");
    // an empty name is not stored
    main().type("ComboOrt", "");
    EXPECT_THROW(main().click("ButtonOrtHinzu"), UmbrixError);
}

using SessionTest = AppFixture;

TEST_F(SessionTest, RoundTripRestoresFieldsChecksAndChoices) {
    ComponentRegistry& reg = app->registry();
    reg.set("ComboOrt", "Sydney");
    reg.set("EditTa", "31.5");
    reg.set("EditTmrt", "40");
    reg.set("ComboPos", "sitting");
    reg.set("PmvChk", "0");
    reg.set("Latitude1", "1");
    reg.set("Deutsch1", "1");
    reg.set("Jahresgang1", "1");
    main().saveSession(path("s.ini"));
    IniFile ini = IniFile::load(path("s.ini"));
    EXPECT_EQ(ini.readString("FormGeodat", "EditTa", ""), "31.5");
    EXPECT_EQ(ini.readInt("FormGeodat", "ComboPos", -1), 1);  // the key holds the item index
    EXPECT_EQ(ini.readString("FormGeodat", "PmvChk", ""), "0");
    EXPECT_EQ(ini.readString("FormGeodat", "LocationName", ""), "Sydney");

    makeApp();
    EXPECT_EQ(main().text("EditTa"), "20.0");
    main().restoreSession(path("s.ini"));
    EXPECT_EQ(main().text("ComboOrt"), "Sydney");
    EXPECT_EQ(main().text("EditZz"), "10.0");
    EXPECT_EQ(main().text("EditTa"), "31.5");
    EXPECT_EQ(main().text("EditTmrt"), "40.0");
    EXPECT_EQ(main().text("ComboPos"), "sitting");
    EXPECT_FALSE(main().checked("PmvChk"));
    EXPECT_TRUE(main().checked("Latitude1"));
    EXPECT_TRUE(main().checked("Jahresgang1"));
    EXPECT_FALSE(main().checked("Einzeltab1"));
    EXPECT_EQ(app->language(), Language::German);
    EXPECT_FALSE(main().enabled("ButtonHinzu"));
}

TEST_F(SessionTest, PlaceNoLongerListedKeepsItsRestoredCoordinates) {
    main().type("ComboOrt", "Hut");
    main().typeAndLeave("EditLg", "10.5");
    main().typeAndLeave("EditBr", "46.25");
    main().typeAndLeave("EditNn", "2100");
    main().saveSession(path("s.ini"));
    makeApp();
    main().restoreSession(path("s.ini"));
    EXPECT_EQ(main().text("ComboOrt"), "Hut");
    EXPECT_EQ(main().text("EditLg"), "10\u00b030'");
    EXPECT_EQ(main().text("EditBr"), "46\u00b015'");
    EXPECT_EQ(main().text("EditNn"), "2100");
}

TEST_F(SessionTest, HorizonSourcesAndDataFileComeBackUnchecked) {
    main().click("Wertedatei1");
    for (const char* item : {"Horizonteinengung1", "Topographie1", "Hindernisobjekte1"})
        main().ctl(item).checked = true;
    main().saveSession(path("s.ini"));
    EXPECT_EQ(IniFile::load(path("s.ini")).readString("FormGeodat", "Wertedatei1", ""), "1");
    makeApp();
    main().restoreSession(path("s.ini"));
    for (const char* item :
         {"Horizonteinengung1", "Topographie1", "Hindernisobjekte1", "Wertedatei1"})
        EXPECT_FALSE(main().checked(item)) << item;
}

TEST_F(SessionTest, ItemIndexOutsideTheListIsIgnored) {
    writeFile("s.ini", "[FormGeodat]\nComboSex=7\nComboPos=1\nEditGr=1.90\nPetChk=junk\n");
    main().restoreSession(path("s.ini"));
    EXPECT_EQ(main().text("ComboSex"), "m");
    EXPECT_EQ(main().text("ComboPos"), "sitting");
    EXPECT_EQ(main().text("EditGr"), "1.90");
    EXPECT_TRUE(main().checked("PetChk"));
}

TEST_F(SessionTest, StoredTextsPassTheFieldsRulesAndWhatTheyRefuseIsReported) {
    writeFile("s.ini",
              "[FormGeodat]\nEditDat=31.2.2026\nEditTag=60\nEditZz=14\nEditTa=20\n"
              "EditTmrt=1e39\nEditA=abc\nComboSex=7\nPetChk=junk\nLocationName=Hut\n");
    const std::vector<std::string> problems = main().restoreSession(path("s.ini"));
    EXPECT_EQ(main().text("EditDat"), "21.6.2026");
    EXPECT_EQ(main().text("EditTag"), "172");  // the day of the date kept, not the stored one
    EXPECT_EQ(main().text("EditZz"), "14.0");  // +14 is a real zone: kept as stored
    EXPECT_EQ(main().text("EditTa"), "20.0");  // only its format: not reported
    EXPECT_EQ(main().text("EditTmrt"), "");
    EXPECT_EQ(main().text("EditA"), "35");
    const std::vector<std::string> expected = {
        "ComboSex \"7\" is no item of the list; it keeps \"m\"",
        "PetChk \"junk\" is neither 1 nor 0; it keeps 1",
        "EditDat \"31.2.2026\" is not a valid date; it keeps \"21.6.2026\"",
        "EditTmrt \"1e39\" is out of range; it keeps \"\"",
        "EditA \"abc\" is not a whole number; it keeps \"35\"",
    };
    EXPECT_EQ(problems, expected);
    // a file without the main window's section is no session when opened as one
    writeFile("notes.ini", "[Notes]\nEditTa=30\n");
    EXPECT_THROW(main().openSession(path("notes.ini")), FileError);
    EXPECT_EQ(main().text("EditTa"), "20.0");
}

TEST_F(SessionTest, StartAndEndOfTheProgram) {
    main().typeAndLeave("EditTa", "33");
    app->end();  // "Save && restore session" is on: the whole window is saved
    host.clock = {2026, 7, 1, 15, 30, 0};
    makeApp(true);
    EXPECT_EQ(main().text("EditTa"), "33.0");
    EXPECT_EQ(main().text("EditDat"), "21.6.2026");  // the session's date replaces today's
    // unchecked and ended: the next start keeps the defaults, with today's date and time
    main().click("Saverestoresession1");
    app->end();
    EXPECT_EQ(IniFile::load(path("currentsession.ini"))
                  .readString("FormGeodat", "Saverestoresession1", ""),
              "0");
    makeApp(true);
    EXPECT_EQ(main().text("EditTa"), "20.0");
    EXPECT_EQ(main().text("EditDat"), "1.7.2026");
    EXPECT_EQ(main().text("EditZeit"), "15:30");
    EXPECT_FALSE(main().checked("Saverestoresession1"));
}

TEST_F(SessionTest, PipesInTheProgramFolderNeitherHangTheStartNorTheEnd) {
    std::filesystem::remove(path("locations.lst"));
    ASSERT_EQ(::mkfifo(path("locations.lst").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(path("currentsession.ini").c_str(), 0600), 0);
    makeApp(true);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].find("currentsession.ini\": not a regular file"), std::string::npos);
    EXPECT_NE(main().locationReport().find("locations.lst\": not a regular file"),
              std::string::npos);
    EXPECT_THROW(app->end(), FileError);
}

TEST_F(SessionTest, OpenAndSaveThroughTheDialogs) {
    main().typeAndLeave("EditWG", "3");
    host.saveAnswers.push_back(path("mine.txt"));
    main().click("SaveAs1");
    EXPECT_EQ(host.saveRequests.back().filterIndex, 2);
    main().typeAndLeave("EditWG", "1");
    host.openAnswers.push_back(path("mine.txt"));
    main().click("Open1");
    EXPECT_EQ(host.openRequests.back().defaultExt, "ini");
    EXPECT_EQ(main().text("EditWG"), "3.0");
}

TEST(ConfigFolder, FallsBackToTheUserFolder) {
    TempDir temp;
    const auto& base = temp.path();
    std::filesystem::create_directories(base / "xdg");
    const char* old = std::getenv("XDG_CONFIG_HOME");
    std::string saved = old ? old : "";
    ::setenv("XDG_CONFIG_HOME", (base / "xdg").c_str(), 1);
    // a program folder that cannot be written (it does not exist)
    std::string dir = ResolveConfigDir((base / "nowhere").string());
    EXPECT_EQ(dir, (base / "xdg" / "umbrix").string());
    EXPECT_TRUE(std::filesystem::is_directory(dir));
    // a writable program folder is used as it is
    EXPECT_EQ(ResolveConfigDir((base / "xdg").string()), (base / "xdg").string());
    // an installed program (its list under share/umbrix) keeps its settings in the user folder,
    // which gets the installed list
    std::filesystem::create_directories(base / "prefix" / "bin");
    std::filesystem::create_directories(base / "prefix" / "share" / "umbrix");
    WriteTextFile((base / "prefix" / "share" / "umbrix" / "locations.lst").string(), "Testville\n");
    std::filesystem::remove(base / "xdg" / "umbrix" / "locations.lst");
    EXPECT_EQ(ResolveConfigDir((base / "prefix" / "bin").string()), dir);
    EXPECT_EQ(ReadTextFile(dir + "/locations.lst"), "Testville\n");
    if (old)
        ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace umbrix::test
