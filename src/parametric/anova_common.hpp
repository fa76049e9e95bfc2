// Pieces shared by the three analyses of variance: the working arrays and the
// result records that the analyses have in common.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "console/console.hpp"
#include "core/arith.hpp"
#include "core/int32.hpp"

namespace amostra::anova {

inline constexpr char kStars54[] = "******************************************************";
inline constexpr char kStars55[] = "*******************************************************";
inline constexpr char kStars56[] = "********************************************************";

// A real vector indexed 1..N (slot 0 unused), every element starting at 0.
template <int N>
using Vector = std::array<Real, N + 1>;

// A real table of rows x columns indexed from 1, every cell starting at 0.
// One allocation per run of an analysis; a cell access is plain arithmetic.
class Table {
 public:
  Table(int rows, int columns) : columns_(columns), cells_(static_cast<std::size_t>(rows) * columns) {}
  Real& operator()(int i, int j) { return cells_[static_cast<std::size_t>(i - 1) * columns_ + (j - 1)]; }

 private:
  int columns_;
  std::vector<Real> cells_;
};

// The mean of column (treatment) j.
void write_column_mean(Console& c, int j, Real mean);

// The title of the two-way results: framed, then an empty record.
void write_analysis_title(Console& c);

// The records of the column and row statistics and of the residual.
void write_columns_line(Console& c, Real fcol, int glcol);
void write_rows_line(Console& c, Real flin, int gllin);
void write_residual_line(Console& c, Real dpres, int glres);

// The column means, a rule, the row means and the closing frame of the two-way
// analyses.
void write_means(Console& c, const Vector<100>& mediacol, int inc, const Vector<100>& medialin, int inl);

}  // namespace amostra::anova
