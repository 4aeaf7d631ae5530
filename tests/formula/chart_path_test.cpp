// The formula library driven as the charts drive it, through the shared
// library's exports alone: load the store of a formula folder, select an
// indicator for its title, calculate it over a few hundred bars, read its
// lines, save the store at exit and load it again.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>
#include <string>
#include <vector>

#include "formula/face/FormulaFace.h"
#include "link/code_info.h"
#include "formula/store/store_files.h"
#include "platform/gbk.h"
#include "platform/paths.h"
#include "support/temp_folder.h"

namespace {

long NoData(SCodeInfo, DATA_TYPE, void*, short) { return 0; }

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// EMA as the built-in defines it: seeded with the first value.
std::vector<double> Ema(const std::vector<double>& x, int n) {
  std::vector<double> r(x.size());
  r[0] = x[0];
  for (size_t i = 1; i < x.size(); ++i) r[i] = ((n - 1) * r[i - 1] + 2 * x[i]) / (n + 1);
  return r;
}

class ChartPath : public ::testing::Test {
 protected:
  void SetUp() override {
    root = folder_.Path();
    std::filesystem::create_directories(root / "formula");
    platform::SetProgramDirOverride(root.string());

    // The folder holds what the editor saved: a MACD whose title and last
    // line are Chinese, behind the two built-in examples.
    std::deque<SFormulaRecord> saved(1);
    SFormulaRecord& macd = saved[0];
    std::snprintf(macd.szCode, sizeof macd.szCode, "MACD");
    std::snprintf(macd.szName, sizeof macd.szName, "%s", GBK("平滑异同平均线"));
    std::snprintf(macd.szGridLines, sizeof macd.szGridLines, "0");
    std::snprintf(macd.szParams, sizeof macd.szParams,
                  "SHORT:^P(2,200,12,1,10);LONG:^P(2,200,26,1,10);MID:^P(2,200,9,1,10);");
    macd.strFormula =
        std::string("DIF:EMA(CLOSE,SHORT)-EMA(CLOSE,LONG);\r\nDEA:EMA(DIF,MID);\r\n") +
        GBK("柱线") + ":2*(DIF-DEA),COLORSTICK;";
    datFile = formula::BuildDatFile(saved);
    std::ofstream(root / "formula" / "ZBFormu.dat", std::ios::binary) << datFile;

    for (int i = 0; i < 300; ++i) {
      const float close = float(20.0 + 0.02 * i + 3.0 * std::sin(i / 9.0));
      bars.push_back(SHistoryUnit{20240101 + i, close - 0.1f, close + 0.5f, close - 0.5f, close,
                                  1000u + uint32_t(i), 0u});
    }
  }
  void TearDown() override {
    face.ResetIt();
    platform::SetProgramDirOverride("");
  }

  test_support::TempFolder folder_{"formula_chart"};
  std::filesystem::path root;
  std::string datFile;
  std::vector<SHistoryUnit> bars;
  CFormulaFace face;
};

TEST_F(ChartPath, LoadSelectCalculateReadAndSaveAsTheChartsDo) {
  CFormulaFace::InitDefineTech();
  ASSERT_EQ(CFormulaFace::SizeAtSet(0), 1);
  EXPECT_STREQ(CFormulaFace::FormuCode(0, 0), "MACD");
  EXPECT_STREQ(CFormulaFace::FormuName(0, 0), GBK("平滑异同平均线"));

  // The title: selected without bars and without a data callback.
  ASSERT_EQ(face.Calc(0, "macd", nullptr, 0), 1) << face.GetLastErr();
  ASSERT_EQ(face.GetOutVarSize(), 3);
  EXPECT_STREQ(face.GetOutVarWord(0), "dif");
  EXPECT_STREQ(face.GetOutVarWord(2), GBK("柱线"));  // GBK bytes untouched by case folding
  ASSERT_EQ(face.GetRegParSize(), 3);
  EXPECT_STREQ(face.GetParaName(1), "long");
  EXPECT_EQ(face.GetRegParFloat(1), 26.0f);
  EXPECT_STREQ(face.GetFormulaGridInfo(const_cast<char*>("MACD")), "0");

  // A redraw: the lines over every bar, against a plain computation.
  face.RegisterDataIO(NoData);
  ASSERT_EQ(face.Calc(0, "MACD", bars.data(), short(bars.size())), 1) << face.GetLastErr();
  std::vector<double> close;
  for (const SHistoryUnit& b : bars) close.push_back(b.fClose);
  const std::vector<double> e12 = Ema(close, 12), e26 = Ema(close, 26);
  std::vector<double> dif(close.size());
  for (size_t i = 0; i < close.size(); ++i) dif[i] = e12[i] - e26[i];
  const std::vector<double> dea = Ema(dif, 9);
  const float* lines[3] = {face[0], face[1], face[2]};
  for (const float* line : lines) ASSERT_NE(line, nullptr);
  for (size_t i = 0; i < close.size(); ++i) {
    ASSERT_NEAR(lines[0][i], dif[i], 2e-4) << "bar " << i;
    ASSERT_NEAR(lines[1][i], dea[i], 2e-4) << "bar " << i;
    ASSERT_NEAR(lines[2][i], 2 * (dif[i] - dea[i]), 4e-4) << "bar " << i;
  }
  EXPECT_EQ(face.GetOutVarProperty(0), 287);  // no style word
  EXPECT_EQ(face.GetOutVarProperty(2), 289);  // COLORSTICK

  // A chart's own parameter value replaces the declared default.
  ASSERT_EQ(face.SetRegParFloat(0, 5.0f), 1);
  ASSERT_EQ(face.Calc(0, "MACD", bars.data(), short(bars.size())), 1) << face.GetLastErr();
  const std::vector<double> e5 = Ema(close, 5);
  EXPECT_NEAR(face[0][299], e5[299] - e26[299], 2e-4);
  face.ResetIt();

  // Saved at exit exactly as it was read, and loaded again the same.
  CFormulaFace::ExitDefineTech();
  EXPECT_EQ(ReadAll(root / "formula" / "ZBFormu.dat"), datFile);
  EXPECT_TRUE(std::filesystem::exists(root / "formula" / "ZBFormu.grp"));
  CFormulaFace::InitDefineTech();
  ASSERT_EQ(face.Calc(0, "MACD", bars.data(), short(bars.size())), 1) << face.GetLastErr();
  EXPECT_NEAR(face[1][299], dea[299], 2e-4);
}

}  // namespace
