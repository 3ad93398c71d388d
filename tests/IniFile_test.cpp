#include "platform/IniFile.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/Error.h"
#include "platform/TextFile.h"
#include "support/TempDir.h"

using namespace umbrix;
using umbrix::test::TempDir;

TEST(IniFile, ParsesSectionsKeysAndComments) {
    IniFile ini = IniFile::parse(
        "\xEF\xBB\xBF"
        "orphan=dropped\r\n"
        "; a comment\r\n"
        "[FormGeodat]\r\n"
        "EditTa=20.0\r\n"
        "  EditVp  = 12.5 \r\n"
        "ComboOrt=Freiburg=Süd\r\n"
        "no equals sign\r\n"
        "=no key\r\n"
        "EditTa=second\r\n"
        "[ Other ]\n"
        "a=1\r"
        "[formgeodat]\n"
        "Late=yes\n");
    EXPECT_EQ(ini.readString("FormGeodat", "EditTa", "-"), "20.0");  // the first counts
    EXPECT_EQ(ini.readString("formgeodat", "EDITTA", "-"), "20.0");
    EXPECT_EQ(ini.readString("FormGeodat", "EditVp", "-"), " 12.5 ");  // value as it stands
    EXPECT_EQ(ini.readString("FormGeodat", "ComboOrt", "-"), "Freiburg=Süd");
    EXPECT_EQ(ini.readString("FormGeodat", "Late", "-"), "yes");  // same section again
    EXPECT_EQ(ini.readString("Other", "a", "-"), "1");
    EXPECT_FALSE(ini.hasKey("FormGeodat", "orphan"));
    EXPECT_FALSE(ini.hasKey("FormGeodat", ""));
    EXPECT_FALSE(ini.hasKey("FormGeodat", "no equals sign"));
    EXPECT_FALSE(ini.hasKey("Missing", "EditTa"));
    EXPECT_EQ(ini.readString("FormGeodat", "Missing", "default"), "default");
}

TEST(IniFile, IntegersAndBooleansFallBackToTheDefault) {
    IniFile ini = IniFile::parse(
        "[s]\nint=42\nneg= -7 \nreal=4.2\nhuge=99999999999\nempty=\n"
        "one=1\nzero=0\nyes=TRUE\nno=False\nother=yes\n");
    struct Case {
        const char* key;
        int asInt;
        bool asBool;  // with default true
    };
    const Case cases[] = {
        {"int", 42, true},   {"neg", -7, true},   {"real", -1, true},    {"huge", -1, true},
        {"empty", -1, true}, {"one", 1, true},    {"zero", 0, false},    {"yes", -1, true},
        {"no", -1, false},   {"other", -1, true}, {"missing", -1, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(ini.readInt("s", c.key, -1), c.asInt);
        EXPECT_EQ(ini.readBool("s", c.key, true), c.asBool);
    }
    EXPECT_FALSE(ini.readBool("s", "other", false));
    EXPECT_TRUE(ini.readBool("s", "yes", false));
}

TEST(IniFile, WritingReplacesInPlaceOrAppends) {
    IniFile ini = IniFile::parse("[FormGeodat]\r\nEditTa=20.0\r\nEditVp=12.5\r\n");
    ini.writeString("formgeodat", "EDITTA", "25.0");  // keeps the stored spelling and place
    ini.writeInt("FormGeodat", "ComboSex", 1);
    ini.writeBool("FormGeodat", "PmvChk", true);
    ini.writeBool("Other", "Flag", false);
    ini.writeString("FormGeodat", "EditDat", "line\r\nbreak");
    ini.writeString("FormGeodat", "Blank", "  x ");
    EXPECT_EQ(ini.text(),
              "[FormGeodat]\nEditTa=25.0\nEditVp=12.5\nComboSex=1\nPmvChk=1\n"
              "EditDat=line  break\nBlank=  x \n\n[Other]\nFlag=0\n");
    // what is written reads back unchanged
    IniFile again = IniFile::parse(ini.text());
    EXPECT_EQ(again.text(), ini.text());
    EXPECT_EQ(again.readString("FormGeodat", "Blank", ""), "  x ");
    EXPECT_EQ(again.readInt("FormGeodat", "ComboSex", 0), 1);
    EXPECT_FALSE(again.readBool("Other", "Flag", true));
}

TEST(IniFile, NamesThatCannotBeReadBackAreRefused) {
    IniFile ini;
    for (const char* key : {"", " a", "a=b", ";a", "[a", "a\nb"}) {
        EXPECT_THROW(ini.writeString("s", key, "v"), UmbrixError) << key;
    }
    for (const char* section : {"", "a]b", " a", "a\r"}) {
        EXPECT_THROW(ini.writeString(section, "k", "v"), UmbrixError) << section;
    }
    EXPECT_EQ(ini.text(), "");
}

TEST(IniFile, LoadAndSave) {
    TempDir dir;
    std::string path = dir.file("currentsession.ini");
    IniFile empty = IniFile::load(path);  // missing file: nothing stored
    EXPECT_EQ(empty.text(), "");
    EXPECT_TRUE(empty.readBool("FormGeodat", "Saverestoresession1", true));

    IniFile ini;
    ini.writeBool("FormGeodat", "Saverestoresession1", false);
    ini.writeString("FormGeodat", "EditTa", "20.0");
    ini.save(path);
    IniFile loaded = IniFile::load(path);
    EXPECT_FALSE(loaded.readBool("FormGeodat", "Saverestoresession1", true));
    EXPECT_EQ(loaded.readString("FormGeodat", "EditTa", ""), "20.0");

    EXPECT_THROW(IniFile::load(dir.path().string()), FileError);
    EXPECT_THROW(ini.save(dir.file("no/such/folder.ini")), FileError);
    std::string big = dir.file("big.ini");
    WriteTextFile(big, std::string((16 << 20) + 1, ';'));
    EXPECT_THROW(IniFile::load(big), FileError);
}
