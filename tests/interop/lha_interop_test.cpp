#include <gtest/gtest.h>

#include <cstdlib>

#include "codec/stream_codec.h"
#include "interop/lha_archive.h"
#include "unit/sample_inputs.h"
#include "unit/scratch_dir.h"

// Our stream against the LHA archivers of this machine, run as programs in a
// scratch folder: lhasa must unpack what we pack, and we must unpack what
// jlha packs with its -lh5- method.

namespace {

int RunIn(const TScratchDir& dir, const std::string& command) {
  return std::system(("cd '" + dir.Folder() + "' && " + command).c_str());
}

std::string WithLengthPrefix(const std::string& packed, size_t length) {
  std::string stream;
  for (int i = 0; i < 4; ++i) stream.push_back(static_cast<char>(length >> (8 * i)));
  return stream + packed;
}

struct TInteropCase {
  const char* Name;
  std::string Input;
};

std::string MostlyRandom() {
  return RepeatsFromAfar(50000, 3000, 11);
}

class LhasaReadsOursTest : public testing::TestWithParam<TInteropCase> {};

TEST_P(LhasaReadsOursTest, ExtractsTheOriginalBytes) {
  const std::string& input = GetParam().Input;
  TScratchDir dir;
  TLhaMember member{"-lh5-", "member.dat", static_cast<uint32_t>(input.size()), LhaCrc16(input),
                    CompressStream(input).substr(4)};
  dir.Write("ours.lzh", LhaArchive(member));
  EXPECT_EQ(RunIn(dir, "lhasa tq ours.lzh"), 0);
  ASSERT_EQ(RunIn(dir, "lhasa pq ours.lzh > printed.dat"), 0);
  EXPECT_TRUE(dir.Read("printed.dat") == input);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, LhasaReadsOursTest,
    testing::Values(TInteropCase{"OneByte", "A"}, TInteropCase{"ThreeLiterals", "abc"},
                    TInteropCase{"MonthFile", MonthFileText(60000)},
                    TInteropCase{"MonthFileManyBlocks", MonthFileText(1 << 20, 3)},
                    TInteropCase{"Random", RandomBytes(30000)},
                    TInteropCase{"MostlyRandom", MostlyRandom()},
                    TInteropCase{"TenThousandEqual", std::string(10000, 'x')},
                    TInteropCase{"LongRuns", LongRuns(300000)},
                    TInteropCase{"AcrossWindowMove20000", RepeatsFromAfar(20000, 8192)},
                    TInteropCase{"AcrossWindowMove100000", RepeatsFromAfar(100000, 8000, 5)}),
    [](const auto& info) { return info.param.Name; });

class WeReadJlhaTest : public testing::TestWithParam<TInteropCase> {};

TEST_P(WeReadJlhaTest, DecompressGivesTheOriginalBytes) {
  const std::string& input = GetParam().Input;
  TScratchDir dir;
  dir.Write("member.dat", input);
  ASSERT_EQ(RunIn(dir, "jlha ao5q theirs.lzh member.dat"), 0);
  const TLhaMember member = ReadFirstLhaMember(dir.Read("theirs.lzh"));
  ASSERT_EQ(member.Method, "-lh5-");  // every input here compresses
  EXPECT_EQ(member.Name, "member.dat");
  EXPECT_EQ(member.OriginalSize, input.size());
  EXPECT_EQ(member.Crc, LhaCrc16(input));
  EXPECT_TRUE(DecompressStream(WithLengthPrefix(member.Packed, input.size())) == input);
}

// jlha stores input that does not shrink as it is, so only inputs that
// compress are here.
INSTANTIATE_TEST_SUITE_P(
    Inputs, WeReadJlhaTest,
    testing::Values(TInteropCase{"ShortText", MonthFileText(300)},
                    TInteropCase{"MonthFile", MonthFileText(60000)},
                    TInteropCase{"MonthFileManyBlocks", MonthFileText(1 << 20, 3)},
                    TInteropCase{"MostlyRandom", MostlyRandom()},
                    TInteropCase{"TenThousandEqual", std::string(10000, 'x')},
                    TInteropCase{"LongRuns", LongRuns(300000)},
                    TInteropCase{"AcrossWindowMove20000", RepeatsFromAfar(20000, 8192)},
                    TInteropCase{"AcrossWindowMove100000", RepeatsFromAfar(100000, 8000, 5)}),
    [](const auto& info) { return info.param.Name; });

}  // namespace
