// The degree D of a taxonomic character: its verdict scale, the coded and the
// measured computations, and dialogue behaviour that the golden sessions do
// not single out.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "support/session.hpp"
#include "taxonomy/coded.hpp"
#include "taxonomy/common.hpp"
#include "taxonomy/measured.hpp"

namespace amostra::taxonomy {
namespace {

Real single(float f) { return Real::bits(f); }

// --- Verdict scale ---------------------------------------------------------

TEST(VerdictScale, EachBoundBelongsToTheLowerStep) {
  EXPECT_EQ(verdict_step(single(0.0f)), 1);
  EXPECT_EQ(verdict_step(single(1.0f)), 1);
  EXPECT_EQ(verdict_step(single(std::nextafter(1.0f, 2.0f))), 2);
  EXPECT_EQ(verdict_step(single(2.0f)), 2);
  EXPECT_EQ(verdict_step(single(2.9572f)), 3);
  EXPECT_EQ(verdict_step(single(3.0f)), 3);
  EXPECT_EQ(verdict_step(single(std::nextafter(3.0f, 4.0f))), 4);
  EXPECT_EQ(verdict_step(single(4.0f)), 4);
  EXPECT_EQ(verdict_step(single(5.0f)), 5);
  // Negative zero compares equal to zero.
  EXPECT_EQ(verdict_step(single(-0.0f)), 1);
}

TEST(VerdictScale, NothingOutsideZeroToFive) {
  const float inf = std::numeric_limits<float>::infinity();
  for (float d : {std::nextafter(5.0f, 6.0f), 15.0f, 10.0f, inf, std::nextafter(0.0f, -1.0f), -7.5f, -inf,
                  std::numeric_limits<float>::quiet_NaN()})
    EXPECT_EQ(verdict_step(single(d)), 0) << d;
}

// --- Coded characters ------------------------------------------------------

// Marks of one character: species j + 1 received code codes[j].
Marks marks_of(const std::vector<int>& codes) {
  Marks mat;
  for (std::size_t j = 0; j < codes.size(); ++j) mat(codes[j], static_cast<int>(j) + 1) = Real(1.0);
  return mat;
}

TEST(CodedDegree, ExponentIsStoredBeforeThePower) {
  // Six species in states of 3, 2 and 1: 6 to the power 1/3 stored as a single
  // (0.333333343) rounds to 1.81712067; the exact cube root would round to
  // 1.81712055.
  CodedDegree r = coded_degree(marks_of({1, 2, 1, 3, 2, 1}), 3, 6);
  EXPECT_EQ(r.prod.value(), 6.0f);
  EXPECT_EQ(r.g.value(), 1.81712067127227783203125f);
  EXPECT_NEAR(r.d.value(), 2.9572, 5e-5);
}

TEST(CodedDegree, WorkedExamples) {
  struct Case {
    std::vector<int> codes;
    int nusta;
    double d;
  };
  const Case cases[] = {
      {{1, 2, 3, 4, 5, 6}, 6, 5.0},       // a state per species
      {{1, 1, 1, 2, 2, 2}, 2, 0.0},       // an even split into two states
      {{1, 1, 2, 2, 3, 3, 4, 4}, 4, 10.0 / 3.0},
      {{1, 1, 1, 1, 2, 2, 3, 4}, 4, 3.8637},
      {{1, 1, 2, 3}, 3, 3.7004},
      {{1, 2, 1}, 3, 15.0},               // a state nobody has: G = 0
      {{1, 2, 1, 3}, 4, 10.0},
      {{1, 1, 1, 1, 1, 1}, 1, -7.5},      // a single state: G = N
  };
  for (const Case& k : cases) {
    CodedDegree r = coded_degree(marks_of(k.codes), k.nusta, static_cast<int>(k.codes.size()));
    EXPECT_NEAR(r.d.value(), k.d, 5e-5) << "states " << k.nusta << ", species " << k.codes.size();
  }
  // The even split and the state per species are exact.
  EXPECT_EQ(coded_degree(marks_of({1, 2, 3, 4, 5, 6}), 6, 6).d.value(), 5.0f);
  EXPECT_EQ(coded_degree(marks_of({1, 1, 1, 2, 2, 2}), 2, 6).d.value(), 0.0f);
}

TEST(CodedDegree, TwoSpeciesDivideByZero) {
  EXPECT_TRUE(std::isnan(coded_degree(marks_of({1, 2}), 2, 2).d.value()));
  EXPECT_EQ(coded_degree(marks_of({1, 1}), 1, 2).d.value(), -std::numeric_limits<float>::infinity());
  EXPECT_EQ(coded_degree(marks_of({2, 2}), 2, 2).d.value(), std::numeric_limits<float>::infinity());
}

// --- Measured characters ---------------------------------------------------

// A comparison over `data` (data[j][i] = specimen i + 1 of species j + 1), fed
// species by species as the dialogue does.
TukeyComparison compare(const std::vector<std::vector<float>>& data, float q) {
  TukeyComparison t;
  t.start_character();
  int nuto = static_cast<int>(data.size());
  t.degrees_of_freedom(nuto, nuto == 0 ? 0 : static_cast<int>(data[0].size()));
  t.qtukey = single(q);
  t.clear_sums();
  for (int j = 1; j <= nuto; ++j)
    for (float x : data[j - 1]) t.add(j, single(x));
  t.analyse();
  return t;
}

const std::vector<std::vector<float>> kThree = {{1, 2}, {5, 6}, {9, 10}};

TEST(TukeyComparison, AnalysisOfVarianceOfTheWorkedExample) {
  TukeyComparison t = compare(kThree, 5.91f);
  EXPECT_EQ(t.gltot, 5);
  EXPECT_EQ(t.glcol, 2);
  EXPECT_EQ(t.glres, 3);
  EXPECT_EQ(t.fc.value(), 181.5f);
  EXPECT_EQ(t.sqdtot.value(), 65.5f);
  EXPECT_EQ(t.soma2c.value(), 245.5f);
  EXPECT_EQ(t.sqdcol.value(), 64.0f);
  EXPECT_EQ(t.sqdres.value(), 1.5f);
  EXPECT_EQ(t.varres.value(), 0.5f);
  EXPECT_EQ(t.dpres.value(), 0.70710677f);
  EXPECT_EQ(t.dms.value(), 2.955f);
  EXPECT_EQ(t.mediacol[0].value(), 1.5f);
  EXPECT_EQ(t.mediacol[2].value(), 9.5f);
  EXPECT_EQ(t.cont, 3);
  EXPECT_EQ(t.zsoma.value(), 0.0f);
  EXPECT_EQ(t.d.value(), 5.0f);
}

TEST(TukeyComparison, DifferenceEqualToDmsDoesNotDiffer) {
  // q = 8 gives dms = 4 exactly, the difference of the pairs (1,2) and (2,3).
  TukeyComparison t = compare(kThree, 8.0f);
  EXPECT_EQ(t.dms.value(), 4.0f);
  EXPECT_EQ(t.difmed[0].value(), 4.0f);
  EXPECT_EQ(t.zsoma.value(), 2.0f);
}

TEST(TukeyComparison, PairsInOrderOfFormation) {
  TukeyComparison t = compare({{1, 2, 3}, {2, 3, 4}, {6, 7, 8}, {6.5f, 7.5f, 8.5f}}, 4.53f);
  EXPECT_EQ(t.glres, 8);
  EXPECT_EQ(t.varres.value(), 1.0f);
  EXPECT_EQ(t.dms.value(), 2.6153970f);
  ASSERT_EQ(t.cont, 6);
  const float want[6] = {1, 5, 5.5f, 4, 4.5f, 0.5f};  // (1,2) (1,3) (1,4) (2,3) (2,4) (3,4)
  for (int p = 0; p < 6; ++p) EXPECT_EQ(t.difmed[p].value(), want[p]) << p;
  EXPECT_EQ(t.zsoma.value(), 2.0f);
  EXPECT_NEAR(t.d.value(), 3.3333, 5e-5);
}

TEST(TukeyComparison, OneSpecimenPerSpeciesIsFullyDiscriminative) {
  TukeyComparison t = compare({{3.7f}, {1.2f}, {3.7f}, {-8}}, 4.0f);
  EXPECT_EQ(t.glres, 0);
  EXPECT_EQ(t.sqdres.value(), 0.0f);
  EXPECT_TRUE(std::isnan(t.dms.value()));
  EXPECT_EQ(t.zsoma.value(), 0.0f);
  EXPECT_EQ(t.d.value(), 5.0f);
}

TEST(TukeyComparison, OneSpeciesHasNoPairs) {
  TukeyComparison t = compare({{1, 2, 4}}, 3.0f);
  EXPECT_EQ(t.cont, 0);
  EXPECT_TRUE(std::isnan(t.d.value()));
}

TEST(TukeyComparison, FullGroupFillsEveryPair) {
  std::vector<std::vector<float>> data(kSpecies, std::vector<float>(2));
  for (int j = 0; j < kSpecies; ++j) data[j] = {static_cast<float>(j), static_cast<float>(j + 1)};
  TukeyComparison t = compare(data, 1.0f);
  EXPECT_EQ(t.cont, kPairs);
  EXPECT_EQ(t.difmed[kPairs - 1].value(), 1.0f);  // (99, 100)
  EXPECT_EQ(t.difmed[kSpecies - 2].value(), 99.0f);  // (1, 100)
}

// --- Dialogue --------------------------------------------------------------

std::string lines(std::initializer_list<const char*> typed) {
  std::string s;
  for (const char* l : typed) s += std::string(l) + "\n";
  return s;
}

std::size_t count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

const std::string kCharacterBox = " *       Qual carater taxonomico sera analisado?      *\r\n";
const std::string kCodeBoxB = " * Codigo:cor                  em b                   *\r\n";

TEST(CodedDialogue, RejectedCodeIsAskedAgainWithItsCheck) {
  // Species b: code 2 typed, rejected, then 9 (no such code) and 1.
  auto s = test::run_session(lines({"17", "1", "1", "2", "a", "b", "cor", "2", "x", "y", "1", "1",  //
                                    "2", "0", "9", "1", "1", "0", "0"}));
  ASSERT_EQ(s.status, 0) << s.err;
  EXPECT_EQ(count(s.out, kCodeBoxB), 2u);
  std::size_t second = s.out.rfind(kCodeBoxB);
  std::string after = s.out.substr(second + kCodeBoxB.size());
  EXPECT_EQ(after.find(test::records({" " + std::string(54, '*'),
                                      " *  Este codigo nao existe!! Digite o codigo correto  *",
                                      std::string(54, '*')})),
            test::records({" " + std::string(54, '*')}).size());
  // Both species in state 1 of 2: G = 0 and D = +Inf.  Had the rejected mark
  // of state 2 stayed, G would be the root of 2 and D = -Inf.
  EXPECT_NE(s.out.find("D =   +Inf"), std::string::npos);
}

TEST(CodedDialogue, NullAnswerKeepsThePreviousAnswerToAnotherCharacter) {
  // The answer 1, then a lone comma: the comma keeps 1, so a third character
  // is asked for before 0 ends the application.
  auto s = test::run_session(lines({"17", "1", "1", "3", "a", "b", "c",  //
                                    "k1", "3", "s1", "s2", "s3", "1", "1", "2", "1", "3", "1", "1",
                                    "k2", "1", "s", "1", "1", "1", "1", "1", "1", ",",
                                    "k3", "1", "s", "1", "1", "1", "1", "1", "1", "0", "0"}));
  ASSERT_EQ(s.status, 0) << s.err;
  EXPECT_EQ(count(s.out, kCharacterBox), 3u);
}

TEST(MeasuredDialogue, LetterInThreeColumnCountStops) {
  auto s = test::run_session(lines({"17", "1", "2", "1x"}));
  EXPECT_EQ(s.status, 2);
  EXPECT_NE(s.err.find("Bad value during integer read"), std::string::npos);
}

TEST(MeasuredDialogue, NullMeasurementKeepsTheEarlierCharactersValue) {
  // Two species of one specimen, then of two: the second character's first
  // specimen of species 1 is typed as a lone comma and keeps 1 from the first
  // character; means 1.5 and 1.5 do not differ (D = 0), while a zero there
  // would make them differ (D = 5) for this q.
  auto s = test::run_session(lines({"17", "1", "2", "2", "a", "b",  //
                                    "c1", "1", "1", "1", "7", "1",
                                    "c2", "2", "100", ",", "2", "1", "2", "0", "0"}));
  ASSERT_EQ(s.status, 0) << s.err;
  EXPECT_NE(s.out.find("D = 0.0000"), std::string::npos);
}

}  // namespace
}  // namespace amostra::taxonomy
