// The expression engine against std::regex (ECMAScript) on random expressions and subjects:
// both are leftmost, first-alternative-first backtracking engines, so on the common subset
// the whole match must agree.
#include <gtest/gtest.h>

#include <random>
#include <regex>
#include <string>

#include "regex/pattern.h"

using namespace tintmark::regex;

namespace {

class Generator {
public:
    explicit Generator(uint32_t seed) : rng_(seed) {}

    std::string Expression(int depth = 0) {
        std::string out = Sequence(depth);
        while (Chance(15)) out += "|" + Sequence(depth);
        return out;
    }
    std::string Subject() {
        std::string s;
        const int n = Pick(0, 12);
        for (int i = 0; i < n; ++i) s += "abc"[Pick(0, 2)];
        return s;
    }

private:
    std::string Sequence(int depth) {
        std::string out;
        const int n = Pick(1, 4);
        for (int i = 0; i < n; ++i) out += Piece(depth);
        return out;
    }
    std::string Piece(int depth) {
        std::string atom = Atom(depth);
        if (!Chance(40)) return atom;
        static const char* const quantifiers[] = {"*", "+", "?", "{2}", "{1,3}", "{0,2}", "{2,}"};
        std::string q = quantifiers[Pick(0, 6)];
        if (Chance(30)) q += "?";
        return atom + q;
    }
    std::string Atom(int depth) {
        switch (Pick(0, depth < 3 ? 6 : 4)) {
            case 0: case 1: return std::string(1, "abc"[Pick(0, 2)]);
            case 2: return Chance(50) ? "[ab]" : "[^a]";
            case 3: return ".";
            case 4: return std::string(1, "abc"[Pick(0, 2)]);
            default: return "(" + Expression(depth + 1) + ")";
        }
    }
    int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    bool Chance(int percent) { return Pick(1, 100) <= percent; }
    std::mt19937 rng_;
};

}  // namespace

TEST(RegexOracle, WholeMatchAgreesWithStdRegex) {
    Generator gen(20261207);
    int compared = 0;
    for (int round = 0; round < 3000; ++round) {
        const std::string expr = gen.Expression();
        TPattern p;  // case-sensitive, greedy, dot takes everything (the subjects hold no line breaks)
        p.SetExpression(expr);
        try {
            p.CompileProgram();
        } catch (const EPatternError&) {
            continue;  // an operand that could match empty: std::regex would accept it
        }
        const std::regex re(expr, std::regex::ECMAScript);
        for (int k = 0; k < 5; ++k) {
            const std::string subject = gen.Subject();
            std::smatch m;
            const bool want = std::regex_search(subject, m, re);
            bool got = false;
            try {
                got = p.Exec(subject);
            } catch (const EPatternError& e) {
                FAIL() << e.what() << ": «" << expr << "» on «" << subject << "»";
            }
            ASSERT_EQ(got, want) << "«" << expr << "» on «" << subject << "»";
            if (got) {
                ASSERT_EQ(p.GroupStart(0), m.position(0)) << "«" << expr << "» on «" << subject << "»";
                ASSERT_EQ(p.GroupEnd(0), m.position(0) + m.length(0)) << "«" << expr << "» on «" << subject << "»";
            }
            ++compared;
        }
    }
    EXPECT_GT(compared, 5000);
}
