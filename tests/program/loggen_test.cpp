// The log generator's output, read back by a small reader of the log's line
// grammar written here on its own, so that a fault in the generator's lines
// shows up as a line of the wrong kind.
#include "tools/loggen_core.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

using loggen::Family;

constexpr Family kFamilies[] = {Family::QEL, Family::PMS, Family::LH};
const std::string kRpm = "\xCE\xE1\xEE\xF0\xEE\xF2\xFB";  // "Обороты" in Windows-1251
const std::string kCoolant = "\xD2\xE5\xEC\xEF\xE5\xF0\xE0\xF2\xF3\xF0\xE0 \xCE\xC6";  // "Температура ОЖ"

std::string Make(Family family, std::uint64_t size, std::uint64_t seed, double bad_rate)
{
    loggen::Options o;
    o.family = family;
    o.size = size;
    o.seed = seed;
    o.bad_rate = bad_rate;
    std::ostringstream out;
    const std::uint64_t reported = loggen::Generate(out, o);
    std::string text = out.str();
    EXPECT_EQ(reported, text.size());
    return text;
}

std::vector<std::string> SplitCrLf(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

enum Bad { kShort, kBadKey, kShortRest, kBadValue, kOther, kBadKinds };

struct Census {
    std::array<int, kBadKinds> bad{};
    int values = 0, empty_statuses = 0, named_statuses = 0, frame_marks = 0, erase_markers = 0;
    int blocks = 0, headers = 0, fault_lines = 0, lines = 0;
    int non_empty_closers = 0;                       // a frame mark or value eaten by a section
    int blank_in_good_key = 0;                       // accepted keys that hold a blank
    std::vector<std::string> value_words;            // as written
    std::map<std::string, std::vector<double>> series;  // values by parameter name
};

bool HasBlank(std::string_view s) { return s.find(' ') != std::string_view::npos; }

void ValueLine(std::string_view trimmed, Census& c)
{
    const std::size_t cut = std::min(trimmed.find(' '), trimmed.size());
    const std::string_view word = trimmed.substr(0, cut);
    std::string_view name = cut < trimmed.size() ? trimmed.substr(cut + 1) : std::string_view();
    while (!name.empty() && static_cast<unsigned char>(name.front()) <= 32) name.remove_prefix(1);
    std::string clean;
    for (char ch : word) {
        if (ch == ',' || ch == '.') clean += '.';
        else if ((ch >= '0' && ch <= '9') || ch == '-') clean += ch;
    }
    double v = 0.0;
    const auto res = std::from_chars(clean.data(), clean.data() + clean.size(), v);
    if (clean.empty() || res.ec != std::errc() || res.ptr != clean.data() + clean.size()) {
        ++c.bad[kBadValue];
        return;
    }
    ++c.values;
    c.value_words.emplace_back(word);
    c.series[std::string(name)].push_back(v);
}

void GeneralLine(const std::string& line, Census& c)
{
    if (line.size() < 8) return void(++c.bad[kShort]);
    const std::string_view key(line.data(), 8);
    const bool bad_key = (HasBlank(key.substr(0, 4)) && key.substr(0, 4) != "    ") || HasBlank(key.substr(4));
    if (line.size() == 8) {
        c.blank_in_good_key += HasBlank(key);
        return void(++c.frame_marks);
    }
    if (bad_key) return void(++c.bad[kBadKey]);
    c.blank_in_good_key += HasBlank(key);
    const std::string_view rest = std::string_view(line).substr(8);
    if (rest.size() < 4) return void(++c.bad[kShortRest]);
    if (rest == "    ") return void(++c.empty_statuses);
    if (rest.size() == 4) return void(++c.bad[kOther]);
    std::size_t lead = 0;
    while (lead < rest.size() && static_cast<unsigned char>(rest[lead]) <= 32) ++lead;
    const std::string_view trimmed = rest.substr(lead);
    if (lead == 5) return void(++c.named_statuses);
    if (lead != 4) return void(++c.bad[kOther]);
    if (trimmed == "Erase Errors") return void(++c.erase_markers);
    ValueLine(trimmed, c);
}

// Fault sections count only inside blocks opened by an "F10E" line.
Census Read(const std::string& text)
{
    Census c;
    bool in_block = false, in_section = false;
    for (const std::string& line : SplitCrLf(text)) {
        ++c.lines;
        if (in_block) {
            if (line.starts_with("F10E")) continue;
            if (line == "Actual errors:" || line == "Post errors:") {
                in_section = true;
                ++c.headers;
                continue;
            }
            if (in_section) {
                if (line.size() >= 9) {
                    ++c.fault_lines;
                } else {
                    in_section = false;
                    c.non_empty_closers += !line.empty();
                }
                continue;
            }
            in_block = false;
        } else if (line.starts_with("F10E")) {
            in_block = true;
            ++c.blocks;
            continue;
        }
        GeneralLine(line, c);
    }
    return c;
}

TEST(LogGenerator, SameSeedSameLogOtherSeedOtherLog)
{
    for (Family f : kFamilies) {
        const std::string a = Make(f, 50000, 7, 0.01);
        EXPECT_EQ(a, Make(f, 50000, 7, 0.01));
        EXPECT_NE(a, Make(f, 50000, 8, 0.01));
    }
}

TEST(LogGenerator, StopsAtTheFirstLineEndReachingTheSize)
{
    EXPECT_EQ(Make(Family::QEL, 0, 1, 0.0), "");
    for (std::uint64_t size : {1u, 5000u, 123457u}) {
        const std::string text = Make(Family::LH, size, 3, 0.02);
        ASSERT_GE(text.size(), size);
        ASSERT_TRUE(text.ends_with("\r\n"));
        const std::size_t previous_end = text.size() < 3 ? std::string::npos : text.rfind("\r\n", text.size() - 3);
        const std::size_t last_line_start = previous_end == std::string::npos ? 0 : previous_end + 2;
        EXPECT_LT(last_line_start, size) << "a whole line too many";
    }
}

TEST(LogGenerator, EveryLineEndsInCrLf)
{
    for (Family f : kFamilies) {
        const std::string text = Make(f, 100000, 5, 0.05);
        ASSERT_TRUE(text.ends_with("\r\n"));
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r') {
                ASSERT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << "bare CR at " << i;
            } else if (text[i] == '\n') {
                ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "bare LF at " << i;
            }
        }
    }
}

TEST(LogGenerator, CleanLogHoldsEveryRecognisedShapeAndNoBadLine)
{
    const std::regex number("-?[0-9]+(\\.[0-9]+)?");
    for (Family f : kFamilies) {
        SCOPED_TRACE(loggen::FamilyWord(f));
        const Census c = Read(Make(f, 400000, 11, 0.0));
        for (int kind = 0; kind < kBadKinds; ++kind) EXPECT_EQ(c.bad[kind], 0) << "kind " << kind;
        EXPECT_GT(c.values, c.lines / 2);
        EXPECT_GT(c.empty_statuses, 0);
        EXPECT_GT(c.named_statuses, 0);
        EXPECT_GT(c.frame_marks, 0);
        EXPECT_GT(c.erase_markers, 0);
        EXPECT_GT(c.blocks, 0);
        EXPECT_GT(c.headers, 0);
        EXPECT_GT(c.fault_lines, 0);
        EXPECT_EQ(c.blank_in_good_key, 0);
        EXPECT_EQ(c.non_empty_closers, 0);
        for (const std::string& w : c.value_words) ASSERT_TRUE(std::regex_match(w, number)) << w;
        for (const auto& [name, values] : c.series) EXPECT_FALSE(name.empty());
    }
}

TEST(LogGenerator, BadRateFillsEveryUnrecognisedList)
{
    for (Family f : kFamilies) {
        SCOPED_TRACE(loggen::FamilyWord(f));
        const Census c = Read(Make(f, 100000, 13, 0.05));
        int total = 0;
        for (int kind = 0; kind < kBadKinds; ++kind) {
            EXPECT_GT(c.bad[kind], 0) << "kind " << kind;
            total += c.bad[kind];
        }
        EXPECT_GT(total, c.lines / 50);
        EXPECT_LT(total, c.lines / 10);
    }
}

TEST(LogGenerator, FamilyFromFileName)
{
    EXPECT_EQ(loggen::FamilyFromFileName("samples/sample_QEL.qel"), Family::QEL);
    EXPECT_EQ(loggen::FamilyFromFileName("/tmp/x/run_PMS_2.qel"), Family::PMS);
    EXPECT_EQ(loggen::FamilyFromFileName("C:\\LOGS\\sample_LH.txt"), Family::LH);
    EXPECT_EQ(loggen::FamilyFromFileName("lh0101.txt"), Family::LH);
    EXPECT_EQ(loggen::FamilyFromFileName("/a/Q5_0001.qel"), Family::QEL);
    EXPECT_EQ(loggen::FamilyFromFileName("/a/X7_0001.qel"), Family::PMS);
    EXPECT_EQ(loggen::FamilyFromFileName("/QEL/4123.qel"), std::nullopt);  // a folder's word does not count
}

TEST(LogGenerator, FamilyChoosesItsParameters)
{
    const Census qel = Read(Make(Family::QEL, 30000, 1, 0.0));
    const Census pms = Read(Make(Family::PMS, 30000, 1, 0.0));
    const Census lh = Read(Make(Family::LH, 30000, 1, 0.0));
    EXPECT_TRUE(qel.series.contains(kRpm));
    EXPECT_FALSE(qel.series.contains("MAP, mbar"));
    EXPECT_TRUE(pms.series.contains("MAP, mbar"));
    EXPECT_TRUE(lh.series.contains("LMM Voltage"));
    EXPECT_FALSE(lh.series.contains("MAP, mbar"));
}

TEST(LogGenerator, EngineWarmsUpAndIsDriven)
{
    const Census c = Read(Make(Family::QEL, 400000, 17, 0.0));
    const std::vector<double>& coolant = c.series.at(kCoolant);
    const std::vector<double>& rpm = c.series.at(kRpm);
    ASSERT_GT(coolant.size(), 100u);
    EXPECT_GT(coolant.back(), coolant.front() + 10.0);
    for (std::size_t i = 1; i < coolant.size(); ++i) ASSERT_NEAR(coolant[i], coolant[i - 1], 1.0) << i;
    EXPECT_LT(*std::min_element(rpm.begin() + 10, rpm.end()), 1300.0);
    EXPECT_GT(*std::max_element(rpm.begin(), rpm.end()), 2500.0);
}

}  // namespace
