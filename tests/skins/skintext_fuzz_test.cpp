// Random and damaged skin texts, entry lines and UTF-7 texts. The seed is
// fixed unless VEXMORA_FUZZ_SEED says otherwise; a failure prints the seed
// and the input.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "skin_test_support.h"
#include "skins/wsplatform.h"
#include "skins/wsutf7.h"

namespace {

constexpr std::size_t kMaxInput = 64 * 1024;

unsigned FuzzSeed() {
    const char* text = std::getenv("VEXMORA_FUZZ_SEED");
    return text ? static_cast<unsigned>(std::strtoul(text, nullptr, 10)) : 20261207u;
}

int FuzzCount(int defaultCount) {
    const char* text = std::getenv("VEXMORA_FUZZ_COUNT");
    return text ? std::atoi(text) : defaultCount;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

class TSkinTextMutator {
public:
    explicit TSkinTextMutator(unsigned seed) : random_(seed) {
        for (TClass skinClass : BuiltInSkinClasses()) {
            const std::string text = SkinText(MakeSkin(skinClass).get());
            wholeTexts_.push_back(text);
            // Each section on its own as well: small inputs keep the run
            // short, and most damage stays inside one section anyway.
            std::size_t start = 0;
            while ((start = text.find('[', start)) != std::string::npos) {
                std::size_t end = text.find("\r\n[", start);
                end = end == std::string::npos ? text.size() : end + 2;
                seeds_.push_back(text.substr(0, text.find("\r\n\r\n") + 4) + text.substr(start, end - start));
                start = end;
            }
        }
        seeds_.push_back("");
        seeds_.push_back("[Toolbar]\nHotTrack.Body=0, clRed\n");
        seeds_.push_back(
            "[Skin]\nName=X\nColorBtnFace=$00123456\n[MenuItem]\nHotTrack.Body=1, clWhite, clBtnFace\n");
        seeds_.push_back("[Dock]\nNormal.Body=2, clRed\nNormal.Borders=x, clRed\nNormal.TextColor=clNone\n");
    }

    std::string Next() {
        std::string text =
            Pick(10) == 0 ? wholeTexts_[Pick(wholeTexts_.size())] : seeds_[Pick(seeds_.size())];
        const int rounds = 1 + static_cast<int>(Pick(4));
        for (int i = 0; i < rounds; ++i) text = Mutate(text);
        if (text.size() > kMaxInput) text.resize(kMaxInput);
        return text;
    }

    std::string RandomLine() {
        std::string line;
        const std::size_t length = Pick(40);
        for (std::size_t i = 0; i < length; ++i) {
            const int kind = static_cast<int>(Pick(4));
            if (kind == 0)
                line += Dictionary();
            else if (kind == 1)
                line.push_back(", \"$-"[Pick(5)]);
            else
                line.push_back(static_cast<char>(Pick(256)));
        }
        return line;
    }

private:
    std::size_t Pick(std::size_t n) {
        return n == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, n - 1)(random_);
    }

    std::string Dictionary() {
        static const std::string kValues[] = {
            "",          "$",          "$FFFFFFFFF", "-2147483649", "clDefault", "\"abc",  "clNone",
            "clBtnFace", "2147483647", "0x",         "7",           ",",         "[Skin]", "="};
        // The 64 KB value now and then: most inputs stay small and quick.
        if (Pick(400) == 0) return std::string(kMaxInput, 'x');
        return kValues[Pick(std::size(kValues))];
    }

    std::string Mutate(const std::string& text) {
        std::vector<std::string> lines = SplitLines(text);
        switch (Pick(8)) {
            case 0:  // truncation
                return text.substr(0, Pick(text.size() + 1));
            case 1:  // line deletion
                if (!lines.empty()) lines.erase(lines.begin() + static_cast<long>(Pick(lines.size())));
                return JoinLines(lines);
            case 2:  // line duplication
                if (!lines.empty()) {
                    const std::size_t i = Pick(lines.size());
                    lines.insert(lines.begin() + static_cast<long>(Pick(lines.size())), lines[i]);
                }
                return JoinLines(lines);
            case 3:  // line swap
                if (lines.size() > 1) std::swap(lines[Pick(lines.size())], lines[Pick(lines.size())]);
                return JoinLines(lines);
            case 4: {  // byte flips
                std::string flipped = text;
                for (int i = 0; i < 4 && !flipped.empty(); ++i)
                    flipped[Pick(flipped.size())] ^= static_cast<char>(1 << Pick(8));
                return flipped;
            }
            case 5: {  // a value replaced from the dictionary
                if (lines.empty()) return text;
                std::string& line = lines[Pick(lines.size())];
                const std::size_t equals = line.find('=');
                if (equals != std::string::npos) {
                    std::string value = line.substr(equals + 1);
                    const std::size_t comma = value.find(',');
                    if (comma != std::string::npos && Pick(2))
                        value = Dictionary() + value.substr(comma);
                    else
                        value = Dictionary();
                    line = line.substr(0, equals + 1) + value;
                }
                return JoinLines(lines);
            }
            case 6: {  // case changes
                std::string changed = text;
                for (char& c : changed)
                    if (Pick(3) == 0)
                        c = static_cast<char>(std::isupper(static_cast<unsigned char>(c)) ? std::tolower(c)
                                                                                          : std::toupper(c));
                return changed;
            }
            default:  // a random line
                lines.insert(lines.begin() + static_cast<long>(Pick(lines.size() + 1)), RandomLine());
                return JoinLines(lines);
        }
    }

    std::mt19937 random_;
    std::vector<std::string> wholeTexts_;
    std::vector<std::string> seeds_;
};

std::string Shown(const std::string& text) {
    return text.size() > 400 ? text.substr(0, 400) + "... (" + std::to_string(text.size()) + " bytes)" : text;
}

TEST(SkinTextFuzz, LoadingAnyTextRaisesOnlyConversionErrorsAndNeverHalfLoads) {
    const unsigned seed = FuzzSeed();
    TSkinTextMutator mutator(seed);
    const int count = FuzzCount(10000);
    TOwned<TSbSkinOptions> skin = MakeSkin(TSbOffice2007BlueSkin::ClassInfo());
    TOwned<TSbSkinOptions> before = MakeOwned<TSbSkinOptions>();
    TOwned<TSbSkinOptions> reloaded = MakeOwned<TSbSkinOptions>();
    for (int i = 0; i < count; ++i) {
        const std::string input = mutator.Next();
        TOwned<TStringList> text = Lines(input);
        before->Assign(skin.get());
        try {
            skin->LoadFromStrings(text.get());
        } catch (const EConvertError&) {
            ASSERT_TRUE(skin->SameAs(*before)) << "seed " << seed << " input " << i << ":\n" << Shown(input);
            continue;
        } catch (const std::exception& error) {
            FAIL() << "seed " << seed << " input " << i << ": " << error.what() << "\n" << Shown(input);
        }
        TOwned<TStringList> saved = Lines();
        skin->SaveToStrings(saved.get());
        reloaded->LoadFromStrings(saved.get());
        ASSERT_TRUE(reloaded->SameAs(*skin)) << "seed " << seed << " input " << i << ":\n" << Shown(input);
    }
}

TEST(SkinTextFuzz, EntryLinesNeverRaise) {
    const unsigned seed = FuzzSeed();
    TSkinTextMutator mutator(seed);
    TOwned<TSbSkinOptionEntry> entry = MakeOwned<TSbSkinOptionEntry>();
    for (int i = 0; i < FuzzCount(10000); ++i) {
        const std::string line = mutator.RandomLine();
        EXPECT_NO_THROW(entry->FromText(line)) << "seed " << seed << ": " << Shown(line);
    }
}

TEST(Utf7Fuzz, AnyWideTextComesBackAndAnyByteTextDecodesOrRaisesInvalid) {
    const unsigned seed = FuzzSeed();
    std::mt19937 random(seed);
    auto pick = [&](unsigned n) { return std::uniform_int_distribution<unsigned>(0, n - 1)(random); };
    for (int i = 0; i < FuzzCount(10000); ++i) {
        std::wstring wide;
        const unsigned length = pick(40);
        for (unsigned j = 0; j < length; ++j) {
            // Plain ASCII, anything, and lone or paired surrogates.
            const unsigned kind = pick(3);
            wide.push_back(static_cast<wchar_t>(kind == 0   ? pick(128)
                                                : kind == 1 ? pick(0x10000)
                                                            : 0xD800 + pick(0x800)));
        }
        const std::string encoded = WideStringToUTF7(wide);
        std::wstring decoded;
        ASSERT_NO_THROW(decoded = UTF7ToWideString(encoded)) << "seed " << seed << ": " << encoded;
        ASSERT_EQ(decoded, wide) << "seed " << seed << ": " << encoded;
        for (unsigned char c : encoded) ASSERT_LT(c, 128) << encoded;

        std::string bytes;
        const unsigned byteCount = pick(24);
        for (unsigned j = 0; j < byteCount; ++j)
            bytes.push_back(pick(2) ? "+-AZaz09/"[pick(9)] : static_cast<char>(pick(256)));
        try {
            UTF7ToWideString(bytes);
        } catch (const EWsGeneralError& error) {
            EXPECT_STREQ(error.what(), "Invalid UTF7");
        } catch (const std::exception& error) {
            FAIL() << "seed " << seed << ": " << error.what() << " for " << bytes;
        }
    }
}

}  // namespace
