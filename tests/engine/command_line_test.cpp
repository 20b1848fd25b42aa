// The command line: the argument text after the program name and the file name at its
// front. Names and options with "%" pass through unchanged.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "sheets/command_line.h"
#include "test_support.h"

TEST(CommandLine, TextAfterTheProgramName) {
    struct Case {
        const char* line;
        const char* text;
    } cases[] = {
        {"\"C:\\Program Files\\lumora.exe\" a.bmp", "a.bmp"},
        {"lumora.exe   a.bmp /Exit", "a.bmp /Exit"},
        {"   lumora.exe \"my pic.bmp\"", "\"my pic.bmp\""},
        {"\"lumora.exe\"\"x.bmp\"", "\"x.bmp\""},
        {"lumora.exe 50%.bmp /SaveFile=%d.jpg", "50%.bmp /SaveFile=%d.jpg"},
        // Nothing after the name, or no end to it: empty.
        {"lumora.exe", ""},
        {"lumora.exe    ", ""},
        {"\"lumora.exe\"", ""},
        {"\"C:\\lumora.exe a.bmp", ""},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(CommandLineText(c.line), c.text) << c.line;
}

TEST(CommandLine, FileNameBeforeTheOptions) {
    struct Case {
        const char* text;
        const char* name;
    } cases[] = {
        {"a.bmp", "a.bmp"},
        {"Z:\\pics\\a.bmp   /Resize=50 /Exit", "Z:\\pics\\a.bmp"},
        {"\"Z:\\my pics\\a b.bmp\" /Exit", "\"Z:\\my pics\\a b.bmp\""},
        {"\"Z:\\100% sure\\a%20b%%.bmp\"", "\"Z:\\100% sure\\a%20b%%.bmp\""},
        {"Z:\\x\\50%.bmp /SaveFile=%s.jpg", "Z:\\x\\50%.bmp"},
        {"/StartDEVE", ""},
        {"/Resize=50 /Exit", ""},
        {"   ", ""},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(StartupNamePart(c.text), c.name) << c.text;
}

TEST(CommandLine, UnixPathsAreNamesWhenTheirFirstFolderExists) {
    const std::string dir = ScratchDir("command_line");
    ASSERT_EQ(dir[0], '/');
    EXPECT_EQ(StartupNamePart(dir + "/a b.bmp /Exit"), dir + "/a b.bmp");
    EXPECT_EQ(StartupNamePart("\"" + dir + "/a.bmp\" /Exit"), "\"" + dir + "/a.bmp\"");
    // An option whose text looks like a path is still an option.
    EXPECT_EQ(StartupNamePart("/nonexistent-folder/a.bmp"), "");
    EXPECT_EQ(StartupNamePart("/SaveFile=" + dir + "/out.jpg"), "");
}

TEST(CommandLine, OptionsAfterTheName) {
    EXPECT_EQ(CommandLineOptions("a.bmp /Exit"), "/Exit");
    EXPECT_EQ(CommandLineOptions("\"my/pic.bmp\" /SaveFile=%d.jpg"), "/SaveFile=%d.jpg");
    EXPECT_EQ(CommandLineOptions("/Batch=list.lst"), "/Batch=list.lst");
    EXPECT_EQ(CommandLineOptions("a.bmp"), "");
    EXPECT_EQ(CommandLineOptions("\"a b.bmp\""), "");
    EXPECT_EQ(CommandLineOptions("   "), "");
    // A Unix path is a name: its slashes are no options.
    const std::string dir = ScratchDir("options");
    EXPECT_EQ(CommandLineOptions(dir + "/a.bmp"), "");
    EXPECT_EQ(CommandLineOptions(dir + "/a.bmp /Exit"), "/Exit");
}
