// Curvilinear regression (menu code 16): the pairs are typed once, then fitted
// to one of four three-parameter curves as often as the user asks.
#include "console/dialogue.hpp"
#include "menu/apps.hpp"
#include "regression/curve_fit.hpp"

namespace amostra {
namespace {

constexpr const char* kStars51 = "***************************************************";
constexpr const char* kStars52 = "****************************************************";

// Cramer's rule on the normal equations m·(a, b, c) = (r1, r2, r3).
void cramer(const Matrix3& m, Real r1, Real r2, Real r3, CurveFit& f) {
  f.det = sarrus(m);
  Matrix3 col1 = m;
  col1.a11 = r1;
  col1.a21 = r2;
  col1.a31 = r3;
  f.deta = sarrus(col1);
  f.a = f.deta / f.det;
  Matrix3 col2 = m;
  col2.a12 = r1;
  col2.a22 = r2;
  col2.a32 = r3;
  f.detb = sarrus(col2);
  f.b = f.detb / f.det;
  Matrix3 col3 = m;
  col3.a13 = r1;
  col3.a23 = r2;
  col3.a33 = r3;
  f.detc = sarrus(col3);
  f.c = f.detc / f.det;
}

}  // namespace

CurveSums curve_sums(int n, const Column& xx, const Column& yy) {
  CurveSums s;
  for (int j = 1; j <= n; ++j) {
    const Real x = xx(j);
    const Real y = yy(j);
    s.sx = x + s.sx;
    s.sy = y + s.sy;
    s.sx2 = x * x + s.sx2;
    s.sxy = x * y + s.sxy;
    s.sx3 = Real(x * (x * x)) + s.sx3;
    s.sx4 = Real((x * x) * (x * x)) + s.sx4;
    s.sx2y = (x * x) * y + s.sx2y;
    s.s1dx = 1 / x + s.s1dx;
    s.sydx = y / x + s.sydx;
    s.s1dx2 = 1 / (x * x) + s.s1dx2;
    s.slogx = ln(x) + s.slogx;
    s.slog2x = ln(x) * ln(x) + s.slog2x;
    s.sxlogx = ln(x) * x + s.sxlogx;
    s.slogy = ln(y) + s.slogy;
    s.slogylogx = ln(x) * ln(y) + s.slogylogx;
    s.sxlogy = ln(y) * x + s.sxlogy;
    s.sx2logy = ln(y) * Real(x * x) + s.sx2logy;
  }
  return s;
}

Real sarrus(const Matrix3& m) {
  const Real dpri = ((m.a11 * m.a22) * m.a33 + (m.a12 * m.a23) * m.a31) + (m.a21 * m.a32) * m.a13;
  const Real dsec = ((m.a13 * m.a22) * m.a31 + (m.a32 * m.a23) * m.a11) + (m.a21 * m.a12) * m.a33;
  return dpri - dsec;
}

CurveFit fit_curve(int k, int nx, const CurveSums& s, int n, const Column& xx, const Column& yy, Column& y) {
  CurveFit f;
  const Real rnx = nx;  // the count enters the matrices as a real

  // The normal equations of the curve's linear form.
  switch (k) {
    case 1:  // y = a + b x + c x²
      cramer({rnx, s.sx, s.sx2, s.sx, s.sx2, s.sx3, s.sx2, s.sx3, s.sx4}, s.sy, s.sxy, s.sx2y, f);
      break;
    case 2:  // y = a + b/x + c x
      cramer({rnx, s.s1dx, s.sx, s.s1dx, s.s1dx2, rnx, s.sx, rnx, s.sx2}, s.sy, s.sydx, s.sxy, f);
      break;
    case 3:  // ln y = a + b ln x + c x
      cramer({rnx, s.slogx, s.sx, s.slogx, s.slog2x, s.sxlogx, s.sx, s.sxlogx, s.sx2}, s.slogy, s.slogylogx,
             s.sxlogy, f);
      break;
    default:  // 4: ln y = a + b x + c x²
      cramer({rnx, s.sx, s.sx2, s.sx, s.sx2, s.sx3, s.sx2, s.sx3, s.sx4}, s.slogy, s.sxlogy, s.sx2logy, f);
      break;
  }

  // The curve's parameters, and its value at every X.
  switch (k) {
    case 1:  // Y = A + C (X - B)²
      f.am = f.a - Real(f.b * f.b) / (f.c * Real(4.0));
      f.bm = -f.b / (f.c + f.c);
      f.cm = f.c;
      for (int j = 1; j <= n; ++j) {
        const Real x = xx(j);
        y(j) = ((x - f.bm) * (x - f.bm)) * f.cm + f.am;
      }
      break;
    case 2:  // Y = A + B/X + C X
      f.am = f.a;
      f.bm = f.b;
      f.cm = f.c;
      for (int j = 1; j <= n; ++j) {
        const Real x = xx(j);
        y(j) = ((1 / x) * f.bm + f.am) + x * f.cm;
      }
      break;
    case 3:  // Y = A X^B C^X
      f.am = exp(f.a);
      f.bm = f.b;
      f.cm = exp(f.c);
      for (int j = 1; j <= n; ++j) {
        const Real x = xx(j);
        y(j) = pow(f.cm, x) * Real(pow(x, f.bm) * f.am);
      }
      break;
    default:  // 4: Y = A B^((X - C)²)
      f.am = exp(Real(f.a - (f.b * f.b) / (f.c * Real(4.0))));
      f.bm = exp(f.c);
      f.cm = -(f.b / (f.c + f.c));
      for (int j = 1; j <= n; ++j) {
        const Real x = xx(j);
        y(j) = pow(f.bm, Real((x - f.cm) * (x - f.cm))) * f.am;
      }
      break;
  }

  // Standard error of regression, with nx - 3 degrees of freedom.
  for (int j = 1; j <= n; ++j) f.seg = (y(j) - yy(j)) * (y(j) - yy(j)) + f.seg;
  f.ep = sqrt(f.seg / (nx - Real(3.0)));
  return f;
}

Ending curvilinear_regression(Console& c, const Tables& t) {
  int n = 0;
  Column xx, yy, y;
  int k = 0;  // model code
  int i = 0;  // another model? 0 = no, 1 = yes

  c.list({kStars51});
  c.list({"*********** REGRESSOES CURVELINEAS  ***************"});
  c.list({kStars51});
  c.blank();

  c.blank();
  read_count(c, n, kMaxPairs, [&] {
    c.list({"**   Quantos pares de dados serão digitados ?    **"});
    c.blank();
  });
  c.blank();
  const int nx = n;

  for (int j = 1; j <= n; ++j) {
    c.list({"Digitar X e Y, nesta ordem, do par numero ", j, " ***"});
    c.read(xx(j), yy(j));
  }

  // Formed once: every fit reuses them.
  const CurveSums s = curve_sums(n, xx, yy);

  const Text* const titles[4] = {&t.mens1, &t.mens2, &t.mens3, &t.mens4};
  const Text* const pages[4] = {&t.mens1a, &t.mens2a, &t.mens3a, &t.mens4a};

  for (;;) {
    // Model menu.
    c.blank();
    c.list({kStars52});
    c.list({"*    QUAL O  CÓDIGO DO MODELO A SER AJUSTADO?      *"});
    c.list({kStars52});
    c.list({"*    (1)   Curvas da pagina 60 do tutorial         *"});
    c.list({"*    (2)   Curvas da pagina 61 do tutorial         *"});
    c.list({"*    (3)   Curvas da pagina 63 do tutorial         *"});
    c.list({"*    (4)   Curvas da pagina 65 do tutorial         *"});
    c.list({kStars52});
    c.blank();
    c.read(k);

    // A code outside 1..4 fits the first curve, one empty record further down.
    int model = k;
    if (k < 1 || k > 4) {
      c.blank();
      model = 1;
    }

    const CurveFit f = fit_curve(model, nx, s, n, xx, yy, y);

    // Result box; the first curve's box stands between two empty records.
    if (model == 1) c.blank();
    c.write(
        "(1x,52(\"*\") /1x,\"*\",16x,A18,16x,\"*\"/1x,\"*\",10x,A30,10x,\"*\"/1x,\"*\",50x,\"*\"/1x, "
        "\"*\",2x,3(a4, 1x, f9.2,2x),\"*\"/1x,\"*\", 50x,\"*\",/1x,\"*\",4x, A30,1x,F9.2,6x,\"*\"/1x,52(\"*\"))",
        {*titles[model - 1], *pages[model - 1], t.mens5, f.am, t.mens6, f.bm, t.mens7, f.cm, t.mens8, f.ep});
    if (model == 1) c.blank();

    // Another model?  Only 0 and 1 are answers; anything else asks again.
    do {
      c.blank(2);
      c.list({kStars52});
      c.list({"*          Quer ajustar outro modelo?              *"});
      c.list({"*        0 = Não      ////     1 = Sim             *"});
      c.list({kStars52});
      c.blank();
      c.read(i);
    } while (i != 0 && i != 1);
    if (i == 0) break;
  }

  c.blank();
  return Ending::Prompt;
}

}  // namespace amostra
