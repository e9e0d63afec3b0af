#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "fakes/fake_settings_file.h"

namespace tapster {
namespace {

using Entries = SettingsStore::Entries;

class SettingsStoreTest : public ::testing::Test {
  protected:
    void TearDown() override { EXPECT_EQ(file.unlocked_changes, 0); }

    // Section names in file order, as another tool reading the file would see them.
    std::vector<std::string> sections_in_file() const {
        const auto document = nlohmann::ordered_json::parse(file.bytes.value());
        std::vector<std::string> names;
        for (const auto& [name, value] : document.items()) {
            names.push_back(name);
        }
        return names;
    }

    fakes::FakeSettingsFile file;
    std::vector<std::string> told;
    SettingsStore store{file, [this](const std::string& message) { told.push_back(message); }};
};

TEST(ParseBoolean, AcceptsWordsInAnyCaseAndDecimalNumbers) {
    const struct {
        const char* text;
        std::optional<bool> expected;
    } cases[] = {
        {"True", true},
        {"true", true},
        {"TRUE", true},
        {"False", false},
        {" False ", false},
        {"\tTrue\r\n", true},
        {"-1", true},
        {"1", true},
        {"0", false},
        {"-0", false},
        {"0.0", false},
        {"1.5", true},
        {" 2 ", true},
        {"+3", true},
        {".5", true},
        {"99999999999999999999999999", true},
        {"yes", std::nullopt},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"truee", std::nullopt},
        {"1e3", std::nullopt},
        {"0x1", std::nullopt},
        {"1.2.3", std::nullopt},
        {".", std::nullopt},
        {"1 0", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(std::string("text: \"") + text + "\"");
        EXPECT_EQ(parse_boolean(text), expected);
    }
    EXPECT_EQ(parse_boolean(boolean_text(true)), true);
    EXPECT_EQ(parse_boolean(boolean_text(false)), false);
}

TEST_F(SettingsStoreTest, MissingSettingsGiveTheDefaultOfEachKind) {
    EXPECT_EQ(store.read("setit", "textinterval", number_text(1000)), "1000");
    EXPECT_EQ(store.read("Runit", "RunMinimized", boolean_text(false)), "False");
    EXPECT_EQ(store.read("Items", "c-0", "Nag **** #32770"), "Nag **** #32770");
    EXPECT_EQ(store.read("Items", "c-0", ""), "");
    EXPECT_FALSE(store.read_section("Items").has_value());
    EXPECT_FALSE(file.bytes.has_value()) << "reading must not create the file";
}

TEST_F(SettingsStoreTest, AnEmptyOrAbsentSectionIsNothingStoredNotAFailure) {
    file.bytes = R"({"empty": {}, "setit": {"textinterval": "1000"}})";
    for (const char* section : {"empty", "absent"}) {
        SCOPED_TRACE(section);
        EXPECT_FALSE(store.read_section(section).has_value());
        Entries entries = {{"left", "over"}};
        EXPECT_TRUE(store.try_read_section(section, entries));
        EXPECT_TRUE(entries.empty());
    }
    Entries entries;
    EXPECT_TRUE(store.try_read_section("setit", entries));
    EXPECT_EQ(entries, (Entries{{"textinterval", "1000"}}));
    EXPECT_TRUE(told.empty());
}

TEST_F(SettingsStoreTest, KeysReadBackInTheOrderFirstWritten) {
    ASSERT_TRUE(store.write("setit", "textinterval", "1000"));
    ASSERT_TRUE(store.write("setit", "a-first-in-the-alphabet", "2"));
    ASSERT_TRUE(store.write("setit", "middle", "3"));

    const Entries expected = {
        {"textinterval", "1000"}, {"a-first-in-the-alphabet", "2"}, {"middle", "3"}};
    EXPECT_EQ(store.read_section("setit"), expected);
    EXPECT_EQ(file.bytes,
              "{\n"
              "  \"setit\": {\n"
              "    \"textinterval\": \"1000\",\n"
              "    \"a-first-in-the-alphabet\": \"2\",\n"
              "    \"middle\": \"3\"\n"
              "  }\n"
              "}\n");

    ASSERT_TRUE(store.write("setit", "textinterval", "changed"));
    const Entries rewritten = {
        {"textinterval", "changed"}, {"a-first-in-the-alphabet", "2"}, {"middle", "3"}};
    EXPECT_EQ(store.read_section("setit"), rewritten);
}

TEST_F(SettingsStoreTest, SectionsKeepTheirPlaceThroughRewrites) {
    ASSERT_TRUE(store.write("setit", "textinterval", "1000"));
    ASSERT_TRUE(store.write("Runit", "Calibartion", "1000"));
    ASSERT_TRUE(store.write("Items", "c-0", "first"));
    ASSERT_TRUE(store.write("setit", "textinterval", "2000"));
    ASSERT_TRUE(store.replace_section("Runit", {{"Calibartion", "5"}}));
    ASSERT_TRUE(store.replace_section("Extra", {{"k", "v"}}));
    EXPECT_EQ(sections_in_file(), (std::vector<std::string>{"setit", "Runit", "Items", "Extra"}));

    ASSERT_TRUE(store.delete_section("Runit"));
    ASSERT_TRUE(store.write("Runit", "Calibartion", "1"));
    EXPECT_EQ(sections_in_file(), (std::vector<std::string>{"setit", "Items", "Extra", "Runit"}));
}

TEST_F(SettingsStoreTest, ReplaceSectionSwapsTheWholeSectionInOneReplacement) {
    ASSERT_TRUE(store.write("Items", "c-0", "old 0"));
    ASSERT_TRUE(store.write("Items", "c-1", "old 1"));
    ASSERT_TRUE(store.write("Items", "c-2", "old 2"));
    ASSERT_TRUE(store.write("setit", "textinterval", "1000"));
    const int before = file.replace_count;

    const Entries fresh = {{"c-1", "new 1"}, {"c-0", "new 0"}};
    ASSERT_TRUE(store.replace_section("Items", fresh));

    EXPECT_EQ(file.replace_count, before + 1);
    EXPECT_EQ(store.read_section("Items"), fresh);
    EXPECT_EQ(store.read("Items", "c-2", "gone"), "gone");
    EXPECT_EQ(store.read("setit", "textinterval", ""), "1000");
}

TEST_F(SettingsStoreTest, ReplacingWithNoEntriesRemovesTheSection) {
    ASSERT_TRUE(store.write("Items", "c-0", "x"));
    ASSERT_TRUE(store.write("setit", "textinterval", "1000"));
    ASSERT_TRUE(store.replace_section("Items", {}));
    EXPECT_FALSE(store.read_section("Items").has_value());
    EXPECT_EQ(sections_in_file(), std::vector<std::string>{"setit"});
    EXPECT_TRUE(store.replace_section("NeverThere", {}));
}

TEST_F(SettingsStoreTest, DeletingASectionLeavesTheOthers) {
    ASSERT_TRUE(store.write("Items", "c-0", "x"));
    ASSERT_TRUE(store.write("setit", "textinterval", "1000"));
    ASSERT_TRUE(store.delete_section("Items"));
    EXPECT_FALSE(store.read_section("Items").has_value());
    EXPECT_EQ(store.read("Items", "c-0", "default"), "default");
    EXPECT_EQ(store.read("setit", "textinterval", ""), "1000");
}

TEST_F(SettingsStoreTest, DeletingAMissingSectionFailsAndLeavesTheFileAlone) {
    ASSERT_TRUE(store.write("setit", "textinterval", "1000"));
    const auto bytes_before = file.bytes;
    const int replaces_before = file.replace_count;

    const platform::Status deleted = store.delete_section("Items");

    EXPECT_TRUE(deleted.failed());
    EXPECT_NE(deleted.message().find("Items"), std::string::npos) << deleted.message();
    EXPECT_EQ(file.bytes, bytes_before);
    EXPECT_EQ(file.replace_count, replaces_before);
}

TEST_F(SettingsStoreTest, EachWriteKeepsChangesAnotherCopyMadeMeanwhile) {
    SettingsStore other_copy(file, [](const std::string&) {});
    ASSERT_TRUE(store.write("setit", "mine", "1"));
    ASSERT_TRUE(other_copy.write("setit", "theirs", "2"));
    ASSERT_TRUE(store.write("setit", "mine", "3"));
    ASSERT_TRUE(other_copy.write("Runit", "theirs", "4"));

    EXPECT_EQ(store.read("setit", "theirs", ""), "2");
    EXPECT_EQ(store.read("Runit", "theirs", ""), "4");
    EXPECT_EQ(other_copy.read("setit", "mine", ""), "3");
}

TEST_F(SettingsStoreTest, AFailedReplaceIsReportedAndLeavesTheOldFile) {
    ASSERT_TRUE(store.write("setit", "textinterval", "1000"));
    const auto bytes_before = file.bytes;
    file.fail_next_replace = true;

    const platform::Status written = store.write("setit", "textinterval", "2000");

    ASSERT_TRUE(written.failed());
    EXPECT_NE(written.message().find(file.location()), std::string::npos) << written.message();
    EXPECT_NE(written.message().find("not enough space"), std::string::npos) << written.message();
    EXPECT_EQ(file.bytes, bytes_before);
    EXPECT_EQ(store.read("setit", "textinterval", ""), "1000");

    file.fail_next_replace = true;
    EXPECT_TRUE(store.replace_section("setit", {{"a", "b"}}).failed());
    file.fail_next_replace = true;
    EXPECT_TRUE(store.delete_section("setit").failed());
    EXPECT_EQ(file.bytes, bytes_before);
}

TEST_F(SettingsStoreTest, AnUnreadableFileGivesDefaultsAndRefusesChanges) {
    file.bytes = R"({"setit": {"textinterval": "1000"}})";
    const auto bytes_before = file.bytes;
    file.fail_reads = true;

    EXPECT_EQ(store.read("setit", "textinterval", "500"), "500");
    EXPECT_FALSE(store.read_section("setit").has_value());
    Entries entries;
    const platform::Status looked = store.try_read_section("setit", entries);
    EXPECT_TRUE(looked.failed());
    EXPECT_NE(looked.message().find("not ready"), std::string::npos) << looked.message();
    const platform::Status written = store.write("setit", "other", "1");
    EXPECT_TRUE(written.failed());
    EXPECT_NE(written.message().find("not ready"), std::string::npos) << written.message();
    EXPECT_TRUE(store.replace_section("setit", {{"a", "b"}}).failed());
    EXPECT_TRUE(store.delete_section("setit").failed());

    EXPECT_EQ(file.bytes, bytes_before);
    EXPECT_EQ(file.replace_count, 0);
    EXPECT_TRUE(file.set_aside_contents.empty());
    EXPECT_TRUE(told.empty());
}

TEST_F(SettingsStoreTest, ACorruptFileIsSetAsideAndTheUserToldOnce) {
    const std::string damaged = R"({"setit": {"textinterval": "1000")";
    file.bytes = damaged;

    EXPECT_EQ(store.read("setit", "textinterval", "500"), "500");
    ASSERT_EQ(file.set_aside_contents, std::vector<std::string>{damaged});
    ASSERT_EQ(told.size(), 1U);
    EXPECT_NE(told[0].find(file.location() + ".bad-1"), std::string::npos) << told[0];
    EXPECT_NE(told[0].find("empty settings"), std::string::npos) << told[0];

    EXPECT_FALSE(store.read_section("setit").has_value());
    ASSERT_TRUE(store.write("setit", "textinterval", "2000"));
    EXPECT_EQ(store.read("setit", "textinterval", ""), "2000");
    EXPECT_TRUE(nlohmann::json::accept(file.bytes.value()));

    // A second damaged file is kept as well, but the user has already been warned.
    file.bytes = "garbage";
    EXPECT_EQ(store.read("setit", "textinterval", "500"), "500");
    EXPECT_EQ(file.set_aside_contents.size(), 2U);
    EXPECT_EQ(told.size(), 1U);
}

// Anything but an object of sections, each an object of texts, is a damaged file: it is set
// aside whole, the user told (with the lock already released, so another copy does not wait
// behind the message), and the store starts clean. Nesting of any depth must not exhaust the
// stack.
TEST_F(SettingsStoreTest, EveryKindOfDamagedFileIsSetAsideAndTheUserTold) {
    const std::string deep_arrays =
        R"({"Notes":)" + std::string(60000, '[') + std::string(60000, ']') + "}";
    std::string deep_objects = R"({"Notes":)";
    for (int depth = 0; depth < 60000; ++depth) {
        deep_objects += R"({"a":)";
    }
    deep_objects += "{}" + std::string(60001, '}');
    const std::string cases[] = {
        R"([{"setit": {"textinterval": "1000"}}])",
        "42",
        R"("setit")",
        "null",
        R"({"setit": {}} trailing)",
        R"({"setit": {"textinterval": "1000",}})",
        "{\"setit\": {\"k\": \"\xff\xfe\"}}",
        "// comment\n{}",
        R"({"setit": {"nothing": null}})",
        R"({"setit": {"number": 01}})",
        R"({"setit": {"number": 1.}})",
        R"({"setit": {"number": -}})",
        R"({"setit": {"number": 1e}})",
        R"({"setit": {"word": True}})",
        R"({"setit": {"word": truex}})",
        R"({"setit": 1000})",
        "\xEF\xBB\xBF\xEF\xBB\xBF{}",
        R"({"setit": {"list": ["a"]}})",
        R"({"setit": {"object": {"a": "b"}}})",
        R"({"setit": {"textinterval": "1000"}, "Runit": "not a section"})",
        R"({"Runit": ["a"]})",
        deep_arrays,
        deep_objects,
    };
    for (const auto& damaged : cases) {
        SCOPED_TRACE(damaged.substr(0, 60));
        fakes::FakeSettingsFile damaged_file;
        damaged_file.bytes = damaged;
        int times_told = 0;
        bool locked_when_told = false;
        SettingsStore fresh_store(damaged_file, [&](const std::string&) {
            ++times_told;
            locked_when_told = damaged_file.locked();
        });

        Entries entries;
        ASSERT_TRUE(fresh_store.try_read_section("setit", entries));
        EXPECT_TRUE(entries.empty());
        ASSERT_TRUE(fresh_store.write("setit", "textinterval", "2000"));

        EXPECT_EQ(damaged_file.set_aside_contents, std::vector<std::string>{damaged});
        EXPECT_EQ(times_told, 1);
        EXPECT_FALSE(locked_when_told);
        EXPECT_EQ(damaged_file.bytes,
                  "{\n  \"setit\": {\n    \"textinterval\": \"2000\"\n  }\n}\n");
        EXPECT_EQ(damaged_file.unlocked_changes, 0);
    }
}

// The store reads what a JSON reader reads, texts decoded the same way, and refuses the rest.
TEST_F(SettingsStoreTest, TheFileIsReadExactlyAsAJsonReaderReadsIt) {
    const std::string inputs[] = {
        R"({"s": {"k": "\u00e9\u00C9 \ud83d\ude00 \u0000 \/"}})",
        R"({"s": {"k": "\ud83d"}})",
        R"({"s": {"k": "\ude00"}})",
        R"({"s": {"k": "\ud83d\u0041"}})",
        R"({"s": {"k": "\u00g0"}})",
        R"({"s": {"k": "\u00"}})",
        R"({"s": {"k": "\x"}})",
        "{\"s\": {\"k\": \"tab\there\"}}",
        "{\"s\": {\"k\": \"del\x7f \xC3\xA9\"}}",
        "{\"s\": {\"k\": \"cut \xC3\"}}",
        " \xEF\xBB\xBF{}",
        "\xEF\xBB\xBF \r\n\t{ } \n",
        R"({"s": {"k": "v"} "t": {}})",
        R"({"s": {"k" "v"}})",
        R"({"s": {"k": "v",}})",
        R"({"s": {,}})",
        R"({"s": {}, })",
        R"({"s": {"k": "v"}}})",
        R"({"s": {"k": "v"})",
        R"({"s")",
        R"({"s": {"k": "v"}}   x)",
        std::string("{\"s\": {\"k\": \"v\"}}\n\0\0 junk", 25),
        std::string("{\"s\": {\"k\": \"v\0\"}}", 18),
        std::string("{\"s\": {\"k\": \0", 13),
    };
    for (const std::string& input : inputs) {
        SCOPED_TRACE(input);
        std::optional<Entries> expected;
        const auto json = nlohmann::ordered_json::parse(input, nullptr, false);
        if (!json.is_discarded()) {
            expected = Entries{};
            const auto section = json.value("s", nlohmann::ordered_json::object());
            for (const auto& [key, text] : section.items()) {
                expected->emplace_back(key, text.get<std::string>());
            }
        }
        fakes::FakeSettingsFile one_file;
        one_file.bytes = input;
        SettingsStore one_store(one_file, {});
        Entries entries;
        ASSERT_TRUE(one_store.try_read_section("s", entries));
        EXPECT_EQ(one_file.set_aside_contents.empty(), expected.has_value());
        if (expected) {
            EXPECT_EQ(entries, *expected);
        }
    }
}

// Files written before keep their exact bytes: the store prints what the JSON library did,
// and refuses the texts it refused.
TEST_F(SettingsStoreTest, TheFileIsPrintedExactlyAsTheJsonLibraryPrintsIt) {
    const std::string existing[] = {
        "",
        R"({"empty": {}, "setit": {"a": "1"}})",
        R"({"setit": {"k": "1", "j": "2"}, "Items": {}, "other": {"z": "9", "y": "8"}})",
        R"({"esc": {"q\"b\\s/": "\b\f\n\r\t\u0001\u001f\u007f\u00e9\ud83d\ude00 \u2028"}})",
        "\xEF\xBB\xBF{\"bom\": {\"x\": \"\xC3\x9C\"}}",
    };
    const std::string texts[] = {
        "plain",
        "",
        std::string("nul\0inside", 10),
        "\x01\x02\x1f\x7f\"\\/",
        "\xC2\x80 \xDF\xBF \xE0\xA0\x80 \xED\x9F\xBF \xEE\x80\x80 \xF0\x90\x80\x80 "
        "\xF4\x8F\xBF\xBF",
        "\xC0\x80",          // overlong
        "\xC1\xBF",          // overlong
        "\xE0\x9F\xBF",      // overlong
        "\xED\xA0\x80",      // surrogate
        "\xF0\x8F\xBF\xBF",  // overlong
        "\xF4\x90\x80\x80",  // past U+10FFFF
        "\xF5\x80\x80\x80",
        "\x80",
        "\xE2\x82",  // cut short
        "\xE2\x28\xA1",
    };
    for (const std::string& before : existing) {
        for (const std::string& text : texts) {
            SCOPED_TRACE("file: " + before + "  text: " + text);
            fakes::FakeSettingsFile mine;
            mine.bytes = before;
            SettingsStore mine_store(mine, {});
            const platform::Status written = mine_store.write("setit", text, text);

            auto expected = before.empty() ? nlohmann::ordered_json::object()
                                           : nlohmann::ordered_json::parse(before);
            expected["setit"][text] = text;
            std::optional<std::string> printed;
            try {
                printed =
                    expected.dump(2, ' ', false, nlohmann::json::error_handler_t::strict) + "\n";
            } catch (const nlohmann::json::type_error&) {
            }
            ASSERT_EQ(written.failed(), !printed.has_value()) << written.message();
            if (printed) {
                EXPECT_EQ(mine.bytes, printed);
            } else {
                EXPECT_EQ(mine.bytes, before);
            }
        }
    }
}

TEST_F(SettingsStoreTest, ADamagedFileThatCannotBeSetAsideIsNeverOverwritten) {
    file.bytes = "[1, 2]";
    file.fail_set_aside = true;

    EXPECT_EQ(store.read("setit", "textinterval", "500"), "500");
    const platform::Status written = store.write("setit", "textinterval", "2000");
    EXPECT_TRUE(written.failed());
    EXPECT_NE(written.message().find("in use"), std::string::npos) << written.message();
    EXPECT_EQ(file.bytes, "[1, 2]");
    EXPECT_TRUE(told.empty());
}

// What someone editing the file by hand, or an editor saving it, leaves: a number or a
// switch without quotes reads as the text it is written as, and a file with nothing but
// blanks and a byte order mark is an empty one. None is damage to be set aside.
TEST_F(SettingsStoreTest, WhatAnEditorLeavesIsReadNotSetAside) {
    struct Row {
        std::string bytes;
        std::string key;
        std::string read;  // the value of "setit" and that key
    };
    const Row rows[] = {
        {R"({"setit": {"textinterval": 1000}, "Items": {"c-0": "A"}})", "textinterval", "1000"},
        {R"({"setit": {"a": -0.5e+3, "b": "x"}})", "a", "-0.5e+3"},
        {R"({"setit": {"a": 0,"b":12E-1}})", "b", "12E-1"},
        {R"({"setit": {"on": true, "off": false}})", "on", "true"},
        {R"({"setit": {"on": true, "off": false}})", "off", "false"},
        {"\xEF\xBB\xBF{\"setit\": {\"textinterval\": \"750\"}}", "textinterval", "750"},
        {"", "textinterval", "<none>"},
        {" \r\n\t", "textinterval", "<none>"},
        {"\xEF\xBB\xBF", "textinterval", "<none>"},
        {"\xEF\xBB\xBF\r\n", "textinterval", "<none>"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.bytes);
        fakes::FakeSettingsFile one_file;
        one_file.bytes = row.bytes;
        int times_told = 0;
        SettingsStore one_store(one_file, [&](const std::string&) { ++times_told; });
        EXPECT_EQ(one_store.read("setit", row.key, "<none>"), row.read);
        ASSERT_TRUE(one_store.write("Runit", "RunMinimized", "True"));
        EXPECT_EQ(one_store.read("setit", row.key, "<none>"), row.read) << "after a write";
        EXPECT_TRUE(one_file.set_aside_contents.empty());
        EXPECT_EQ(times_told, 0);
    }
}

// Each entry of a list is one target: a key written twice, or a section written twice, loses
// nothing. A single value reads as the last one written, as JSON readers read it.
TEST_F(SettingsStoreTest, ARepeatedKeyOrSectionKeepsEveryEntry) {
    file.bytes = R"({"Items": {"c-0": "A", "c-0": "B"}, "setit": {"k": "1", "k": "2"},
                     "Items": {"u-0": "C"}})";
    Entries items;
    ASSERT_TRUE(store.try_read_section("Items", items));
    EXPECT_EQ(items, (Entries{{"c-0", "A"}, {"c-0", "B"}, {"u-0", "C"}}));
    EXPECT_EQ(store.read("setit", "k", ""), "2");

    ASSERT_TRUE(store.write("setit", "k", "3"));
    EXPECT_EQ(store.read_section("setit"), (Entries{{"k", "3"}}));
    ASSERT_TRUE(store.try_read_section("Items", items));
    EXPECT_EQ(items.size(), 3U) << *file.bytes;
    EXPECT_TRUE(told.empty());
}

TEST_F(SettingsStoreTest, NonAsciiTextRoundTripsByteExact) {
    const std::string text =
        "\xC3\x9C"
        "berpr\xC3\xBC"
        "fung \xE2\x80\x94 \xE7\xA2\xBA\xE8\xAA\x8D";
    ASSERT_TRUE(store.write(text, text, text));
    ASSERT_TRUE(store.write("Items", "c-0", text + " **** #32770"));

    EXPECT_EQ(store.read(text, text, ""), text);
    EXPECT_EQ(store.read_section(text), (Entries{{text, text}}));
    EXPECT_EQ(store.read("Items", "c-0", ""), text + " **** #32770");
    // Stored as UTF-8 rather than \u escapes, so the file stays readable in an editor.
    EXPECT_NE(file.bytes->find(text), std::string::npos);
}

TEST_F(SettingsStoreTest, TextThatIsNotUtf8IsRefusedWithoutTouchingTheFile) {
    ASSERT_TRUE(store.write("setit", "textinterval", "1000"));
    const auto bytes_before = file.bytes;
    EXPECT_TRUE(store.write("setit", "bad", "\xff\xfe").failed());
    EXPECT_TRUE(store.replace_section("setit", {{"\xc3", "x"}}).failed());
    EXPECT_EQ(file.bytes, bytes_before);
}

// Going on unlocked could undo another copy's change, so every change fails instead. A read
// needs no lock: a change replaces the file whole.
TEST_F(SettingsStoreTest, ALockThatCannotBeTakenFailsEveryChangeButNoRead) {
    file.bytes = R"({"setit": {"textinterval": "1000"}})";
    const auto bytes_before = file.bytes;
    file.refuse_lock = true;

    EXPECT_EQ(store.read("setit", "textinterval", "500"), "1000");
    EXPECT_TRUE(store.read_section("setit").has_value());
    const platform::Status written = store.write("setit", "textinterval", "2000");
    EXPECT_TRUE(written.failed());
    EXPECT_NE(written.message().find("kept the settings locked"), std::string::npos)
        << written.message();
    EXPECT_TRUE(store.replace_section("setit", {{"a", "b"}}).failed());
    EXPECT_TRUE(store.delete_section("setit").failed());
    EXPECT_EQ(file.bytes, bytes_before);

    // A damaged file is only set aside under the lock.
    file.bytes = "{ damaged";
    EXPECT_EQ(store.read("setit", "textinterval", "500"), "500");
    EXPECT_TRUE(file.set_aside_contents.empty());
    EXPECT_EQ(file.bytes, "{ damaged");
}

}  // namespace
}  // namespace tapster
