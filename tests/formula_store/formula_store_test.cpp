// The store files of the five kinds in a temporary formula folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "formula/store/blowfish.h"
#include "formula/store/formula_store.h"
#include "formula/store/store_files.h"
#include "enforced_permissions.h"
#include "platform/gbk.h"
#include "support/temp_folder.h"

namespace formula {
namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}
void WriteBytes(const fs::path& path, const std::string& data) {
  std::ofstream(path, std::ios::binary) << data;
}
int32_t Int32At(const std::string& data, size_t at) {
  int32_t v;
  std::memcpy(&v, data.data() + at, 4);
  return v;
}
std::string Deciphered(std::string file) {
  FormulaCipher().DecipherBuffer(reinterpret_cast<uint8_t*>(file.data()), file.size());
  return file;
}

class FormulaStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = folder_.Path();
    store_.SetDirectoryOverride(dir_.string());
    store_.SetTraceSink([this](const std::string& line) { traces_.push_back(line); });
  }

  SFormulaRecord MakeFormula(const char* code, const char* body, const char* note) {
    SFormulaRecord r;
    std::strcpy(r.szCode, code);
    std::strcpy(r.szName, GBK("均线"));
    std::strcpy(r.szGridLines, "0.0,50,100");
    std::strcpy(r.szParams, "N:^P(1,100,5,1,10);");
    r.nGroupHash = 17;
    r.reserved[3] = 9;  // kept as stored
    r.strFormula = body;
    r.strNote = note;
    return r;
  }

  test_support::TempFolder folder_{"formula_store"};
  fs::path dir_;
  CFormulaStore store_;
  std::vector<std::string> traces_;
};

TEST_F(FormulaStoreTest, FreshFolderGivesExamplesAndDefaultGroups) {
  store_.LoadAll();
  ASSERT_EQ(store_.SizeAtSet(0), 2);
  EXPECT_STREQ(store_.FormulaAt(0, 0)->szCode, "TestZB");
  EXPECT_STREQ(store_.FormulaAt(0, 0)->szName, GBK("测试指标"));
  EXPECT_EQ(store_.FormulaAt(0, 0)->strFormula, "T:12;");
  EXPECT_STREQ(store_.FormulaAt(0, 1)->szCode, "ZB2Param");
  EXPECT_STREQ(
      store_.FormulaAt(0, 1)->szParams,
      GBK("N:^P(1,100,80,2,10);/*依次定义参数最小,最大,缺省值,步长等*/\r\nM:^P(1,100,80,2,10);"));
  EXPECT_EQ(store_.FormulaAt(0, 1)->strFormula, "T:N;\r\nS:M;");
  EXPECT_STREQ(store_.FormulaAt(0, 1)->szGridLines, "0.0");
  ASSERT_EQ(store_.Groups(0).size(), 7u);
  EXPECT_STREQ(store_.Groups(0)[0].szName, GBK("大势型"));
  EXPECT_STREQ(store_.Groups(0)[6].szName, GBK("其他"));
  for (int k = 1; k < 5; ++k) {
    EXPECT_EQ(store_.SizeAtSet(k), 0);
    EXPECT_TRUE(store_.Groups(k).empty());
  }
  EXPECT_EQ(store_.SizeAtSet(5), 0);
  EXPECT_EQ(store_.SizeAtSet(-1), 0);

  store_.SaveAll();
  const std::string dat = ReadBytes(dir_ / "ZBFormu.dat");
  EXPECT_EQ(dat.size(), 1752u);  // 88 + 2*821 + 6 + 11 = 1747, padded
  EXPECT_EQ(fs::file_size(dir_ / "ZBFormu.grp"), 2800u);
  for (const char* stem : {"TJFormu", "JYFormu", "KLFormu", "FCFormu"}) {
    EXPECT_EQ(fs::file_size(dir_ / (std::string(stem) + ".dat")), 88u) << stem;
    EXPECT_FALSE(fs::exists(dir_ / (std::string(stem) + ".grp"))) << stem;
  }
  for (const auto& entry : fs::directory_iterator(dir_)) {
    EXPECT_NE(entry.path().extension(), ".set") << entry.path();
    EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
  }

  const std::string plain = Deciphered(dat);
  EXPECT_EQ(Int32At(plain, 0), 2);
  EXPECT_EQ(Int32At(plain, 4), 88 + 2 * 821);
  const size_t second = 88 + 821;
  EXPECT_EQ(Int32At(plain, 88 + 813), 6);  // "T:12;" and its zero
  EXPECT_EQ(Int32At(plain, 88 + 817), 0);  // empty note: nothing in the text area
  EXPECT_EQ(plain[88 + 820], 0);           // never a note length of 256 MB
  EXPECT_EQ(Int32At(plain, second + 813), 11);
  EXPECT_EQ(Int32At(plain, second + 817), 0);
  EXPECT_EQ(plain[second + 820], 0);
  EXPECT_EQ(plain.substr(88 + 2 * 821, 17), std::string("T:12;\0T:N;\r\nS:M;\0", 17));
}

TEST_F(FormulaStoreTest, SaveAndLoadAreByteIdentical) {
  store_.LoadAll();
  store_.Formulas(0).push_back(MakeFormula("MyMa", "A:MA(CLOSE,N);", GBK("说明文字")));
  store_.Formulas(0).push_back(MakeFormula("NoNote", "B:CLOSE;", ""));
  store_.Formulas(2).push_back(MakeFormula("Sys", "ENTERLONG:CROSS(C,MA(C,5));", "x"));
  store_.Formulas(2)[0].nKind = 2;
  SParamSet set;
  std::strcpy(set.szCode, "mymA");
  set.fValues[0][3] = 12.5f;
  store_.ParamSets(0).push_back(set);
  for (const char* code : {"TestZB", "ZB2Param", "NoNote"}) {
    std::strcpy(set.szCode, code);
    store_.ParamSets(0).push_back(set);
  }
  SFormulaGroup group;
  std::strcpy(group.szName, GBK("我的分组"));
  store_.Groups(2).push_back(group);
  store_.SaveAll();

  CFormulaStore reloaded;
  reloaded.SetDirectoryOverride(dir_.string());
  reloaded.LoadAll();
  ASSERT_EQ(reloaded.SizeAtSet(0), 4);
  const SFormulaRecord* mine = reloaded.Find(0, "MYMA");
  ASSERT_NE(mine, nullptr);
  EXPECT_EQ(mine->strNote, GBK("说明文字"));
  EXPECT_EQ(mine->nGroupHash, 17);
  EXPECT_EQ(mine->reserved[3], 9);
  ASSERT_NE(mine->pParamSet, nullptr);
  EXPECT_EQ(mine->pParamSet->fValues[0][3], 12.5f);
  EXPECT_TRUE(IsInvalidValue(mine->pParamSet->fValues[0][4]));
  EXPECT_EQ(reloaded.Find(0, "NoNote")->strNote, "");
  EXPECT_EQ(reloaded.FormulaAt(2, 0)->nKind, 2);
  EXPECT_STREQ(reloaded.Groups(2)[0].szName, GBK("我的分组"));

  const fs::path second = dir_ / "again";
  reloaded.SetDirectoryOverride(second.string());
  reloaded.SaveAll();
  for (const auto& entry : fs::directory_iterator(dir_)) {
    if (!entry.is_regular_file()) continue;
    SCOPED_TRACE(entry.path().filename().string());
    EXPECT_TRUE(ReadBytes(entry.path()) == ReadBytes(second / entry.path().filename()));
  }
}

TEST_F(FormulaStoreTest, ParameterSetsLinkByCodeAndMissingOnesAreAdded) {
  store_.Formulas(0).push_back(MakeFormula("Alpha", "A:1;", ""));
  store_.Formulas(0).push_back(MakeFormula("Beta", "B:1;", ""));
  SParamSet set;
  std::strcpy(set.szCode, "ALPHA");
  store_.ParamSets(0).push_back(set);
  store_.SaveKind(0);

  store_.LoadKind(0);
  ASSERT_EQ(store_.ParamSets(0).size(), 2u);  // Beta's set appended
  EXPECT_EQ(store_.Find(0, "alpha")->pParamSet, &store_.ParamSets(0)[0]);
  EXPECT_EQ(store_.Find(0, "beta")->pParamSet, nullptr);  // linked from the next load on
  EXPECT_STREQ(store_.ParamSets(0)[1].szCode, "Beta");
  EXPECT_TRUE(IsInvalidValue(store_.ParamSets(0)[1].fValues[7][11]));

  store_.SaveKind(0);
  store_.LoadKind(0);
  EXPECT_EQ(store_.Find(0, "beta")->pParamSet, &store_.ParamSets(0)[1]);
}

TEST_F(FormulaStoreTest, WithoutSetFileEachFormulaGetsASet) {
  store_.Formulas(1).push_back(MakeFormula("Cond", "C>O;", ""));
  store_.SaveKind(1);
  ASSERT_FALSE(fs::exists(dir_ / "TJFormu.set"));
  store_.LoadKind(1);
  ASSERT_EQ(store_.ParamSets(1).size(), 1u);
  EXPECT_EQ(store_.ParamSets(1)[0].nKind, 1);
  EXPECT_EQ(store_.Find(1, "cond")->pParamSet, &store_.ParamSets(1)[0]);
}

TEST_F(FormulaStoreTest, DamagedFormulaFilesAreRefusedAndKept) {
  store_.Formulas(3).push_back(MakeFormula("Five", "X:1;", "note"));
  const std::string good = BuildDatFile(store_.Formulas(3));
  std::string plain = Deciphered(good);
  auto reencipher = [](std::string p) {
    FormulaCipher().EncipherBuffer(reinterpret_cast<uint8_t*>(p.data()), p.size());
    return p;
  };
  auto withInt = [&](size_t at, int32_t v) {
    std::string p = plain;
    std::memcpy(p.data() + at, &v, 4);
    return reencipher(p);
  };
  const struct {
    const char* what;
    std::string file;
  } damaged[] = {
      {"cut inside the header", good.substr(0, 40)},
      {"not whole blocks", good.substr(0, good.size() - 3)},
      {"cut inside the records", good.substr(0, 88 + 400)},
      {"huge count", withInt(0, 0x7FFFFFFF)},
      {"negative count", withInt(0, -1)},
      {"text offset elsewhere", withInt(4, 12)},
      {"formula text runs past the end", withInt(88 + 813, 100000)},
      {"note runs past the end", withInt(88 + 817, 1 << 28)},
  };
  for (const auto& d : damaged) {
    SCOPED_TRACE(d.what);
    WriteBytes(dir_ / "KLFormu.dat", d.file);
    traces_.clear();
    store_.LoadKind(3);
    EXPECT_TRUE(store_.IsDatRefused(3));
    EXPECT_EQ(store_.SizeAtSet(3), 0);
    ASSERT_EQ(traces_.size(), 1u);
    EXPECT_NE(traces_[0].find("KLFormu.dat"), std::string::npos);
    store_.SaveAll();  // never overwrites the damaged file
    EXPECT_EQ(ReadBytes(dir_ / "KLFormu.dat"), d.file);
  }

  WriteBytes(dir_ / "KLFormu.dat", good);
  store_.LoadKind(3);
  EXPECT_FALSE(store_.IsDatRefused(3));
  ASSERT_EQ(store_.SizeAtSet(3), 1);
  EXPECT_EQ(store_.FormulaAt(3, 0)->strNote, "note");
}

TEST_F(FormulaStoreTest, FailedSaveLeavesThePreviousFiles) {
  store_.LoadAll();
  store_.SaveAll();
  const std::string before = ReadBytes(dir_ / "ZBFormu.dat");
  store_.Formulas(0).push_back(MakeFormula("Extra", "E:1;", ""));
  fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);  // no file can be made
  {
    EnforcedPermissions enforced;
    store_.SaveKind(0);
  }
  fs::permissions(dir_, fs::perms::owner_all);
  EXPECT_TRUE(ReadBytes(dir_ / "ZBFormu.dat") == before);
  store_.SaveKind(0);
  EXPECT_GT(ReadBytes(dir_ / "ZBFormu.dat").size(), before.size());
  for (const auto& entry : fs::directory_iterator(dir_)) {  // no temporary file stays
    const std::string extension = entry.path().extension().string();
    EXPECT_TRUE(extension == ".dat" || extension == ".grp" || extension == ".set") << entry.path();
  }
}

// A file that exists but cannot be read (no permission, or above the size
// cap) is kept as it is: never taken as missing (which would bring the
// examples or default groups and save them over the user's own), never
// saved over.
TEST_F(FormulaStoreTest, UnreadableFilesAreNeverSavedOver) {
  const struct {
    const char* file;
    fs::perms perms;
    uintmax_t size;
  } cases[] = {
      {"ZBFormu.dat", fs::perms::owner_write, 1752},
      {"ZBFormu.grp", fs::perms::owner_write, 2800},
      {"ZBFormu.set", fs::perms::owner_write, 2084},
      {"ZBFormu.dat", fs::perms::owner_read | fs::perms::owner_write, (16u << 20) + 8},
      {"ZBFormu.grp", fs::perms::owner_read | fs::perms::owner_write, (16u << 20) + 400},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.file) + " of " + std::to_string(c.size) + " bytes");
    for (const auto& entry : fs::directory_iterator(dir_)) fs::remove(entry.path());
    for (int round = 0; round < 2; ++round) {  // the second round writes the .set file
      store_.Clear();
      store_.LoadAll();
      store_.SaveAll();
    }
    const fs::path path = dir_ / c.file;
    const std::string kept(c.size, 'x');
    WriteBytes(path, kept);
    fs::permissions(path, c.perms);
    traces_.clear();
    {
      EnforcedPermissions enforced;
      store_.Clear();
      store_.LoadAll();
      store_.SaveAll();
    }
    EXPECT_EQ(fs::status(path).permissions(), c.perms);
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_TRUE(ReadBytes(path) == kept);
    ASSERT_EQ(traces_.size(), 1u);
    EXPECT_NE(traces_[0].find(c.file), std::string::npos) << traces_[0];
    if (fs::path(c.file).extension() == ".dat") {
      EXPECT_TRUE(store_.IsDatRefused(0));
      EXPECT_EQ(store_.SizeAtSet(0), 0);  // no examples in place of the user's formulas
    }
  }
}

// Saves make their temporary file exclusively: a link planted under a
// temporary name is never written through. A .dat that is a link stays one
// and the file it names gets the new content, with its mode kept.
TEST_F(FormulaStoreTest, SavesNeverWriteThroughLinksAndKeepTheMode) {
  store_.LoadAll();
  store_.SaveAll();
  const fs::path victim = dir_ / "victim";
  WriteBytes(victim, "precious");
  for (const char* stem : {"ZBFormu", "TJFormu", "JYFormu", "KLFormu", "FCFormu"})
    fs::create_symlink(victim, dir_ / (std::string(stem) + ".tmp"));
  const fs::path real = dir_ / "real.dat";
  fs::rename(dir_ / "ZBFormu.dat", real);
  fs::create_symlink(real, dir_ / "ZBFormu.dat");
  fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);

  store_.Formulas(0).push_back(MakeFormula("Extra", "E:1;", ""));
  store_.SaveAll();
  EXPECT_EQ(ReadBytes(victim), "precious");
  EXPECT_TRUE(fs::is_symlink(dir_ / "ZBFormu.dat"));
  EXPECT_EQ(fs::status(real).permissions(), fs::perms::owner_read | fs::perms::owner_write);
  CFormulaStore reloaded;
  reloaded.SetDirectoryOverride(dir_.string());
  reloaded.LoadKind(0);
  EXPECT_NE(reloaded.Find(0, "Extra"), nullptr);
}

TEST_F(FormulaStoreTest, GroupsAreKeptAndNeverRepeated) {
  store_.LoadKind(0);
  store_.LoadKind(0);
  EXPECT_EQ(store_.Groups(0).size(), 7u);  // no group file yet: defaults, once

  WriteBytes(dir_ / "JYFormu.grp", std::string(800, 'a') + "tail");  // trailing bytes ignored
  store_.LoadKind(2);
  ASSERT_EQ(store_.Groups(2).size(), 2u);
  EXPECT_EQ(std::strlen(store_.Groups(2)[0].szName), 399u);

  store_.Groups(2).clear();
  store_.SaveKind(2);  // an empty group list leaves the file alone
  EXPECT_EQ(fs::file_size(dir_ / "JYFormu.grp"), 804u);
}

TEST_F(FormulaStoreTest, LookupsIgnoreCaseAndCallsStopAtAnEmptyCode) {
  store_.LoadAll();
  EXPECT_EQ(store_.Find(0, "testzb"), store_.FormulaAt(0, 0));
  EXPECT_EQ(store_.Find(0, "TESTZB"), store_.FormulaAt(0, 0));
  EXPECT_EQ(store_.Find(0, "nosuch"), nullptr);
  EXPECT_EQ(store_.Find(7, "TestZB"), nullptr);
  EXPECT_EQ(store_.FormulaAt(0, 2), nullptr);
  EXPECT_EQ(store_.FormulaAt(0, -1), nullptr);

  store_.Formulas(0).push_back(MakeFormula("", "", ""));
  store_.Formulas(0).push_back(MakeFormula("Hidden", "H:1;", ""));
  EXPECT_NE(store_.Find(0, "hidden"), nullptr);
  EXPECT_EQ(store_.FindForCall(0, "hidden"), nullptr);
  EXPECT_EQ(store_.FindForCall(0, "zb2param"), store_.FormulaAt(0, 1));

  // A trail byte in the letters' range is part of its character: never folded.
  store_.Formulas(0).push_back(MakeFormula("\xB2\x41X", "Y:1;", ""));
  EXPECT_EQ(store_.Find(0, "\xB2\x41x"), &store_.Formulas(0).back());
  EXPECT_EQ(store_.Find(0, "\xB2\x61X"), nullptr);
}

TEST_F(FormulaStoreTest, DefaultFolderIsNextToTheProgram) {
  CFormulaStore plain;
  const std::string dir = plain.Directory();
  ASSERT_GE(dir.size(), 8u);
  EXPECT_EQ(dir.substr(dir.size() - 8), "formula/");
  EXPECT_EQ(store_.Directory(), dir_.string() + "/");
}

// The program folder the build ships: a valid store whose only formulas
// are the standard indicators (the examples are the tests' own, for a
// folder without files).
TEST(ShippedFormulaStore, HoldsOnlyTheStandardIndicators) {
  const char* bin = std::getenv("ZEB_BIN_DIR");
  ASSERT_NE(bin, nullptr);
  CFormulaStore shipped;
  shipped.SetTraceSink([](const std::string& line) { ADD_FAILURE() << line; });
  shipped.SetDirectoryOverride(std::string(bin) + "/formula");
  shipped.LoadAll();
  for (int kind = 0; kind < FORMULA_KIND_COUNT; ++kind) {
    EXPECT_FALSE(shipped.IsDatRefused(kind)) << kind;
    if (kind != FORMULA_INDICATOR) {
      EXPECT_TRUE(shipped.Formulas(kind).empty())
          << kind << ": " << shipped.Formulas(kind).front().szCode;
    }
  }
  EXPECT_EQ(shipped.Find(FORMULA_INDICATOR, "TestZB"), nullptr);
  EXPECT_EQ(shipped.Find(FORMULA_INDICATOR, "ZB2Param"), nullptr);
  for (const char* name : {"MA", "VOL", "MACD", "KDJ", "BOLL", "RSI", "WR"})
    EXPECT_NE(shipped.Find(FORMULA_INDICATOR, name), nullptr) << name;
}

}  // namespace
}  // namespace formula
