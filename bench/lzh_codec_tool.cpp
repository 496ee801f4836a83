// Our codec as a whole program, to set beside the LHA archivers:
//   lzh_codec_tool sample month|random|runs SIZE OUT   writes a test input
//   lzh_codec_tool pack IN OUT.lzh                     one -lh5- member, our stream
//   lzh_codec_tool unpack IN.lzh OUT                   first -lh5- member, our decoder
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "codec/stream_codec.h"
#include "interop/lha_archive.h"
#include "unit/sample_inputs.h"

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary);
  if (!(out << content)) throw std::runtime_error("cannot write " + path);
}

std::string Sample(const std::string& kind, size_t size) {
  if (kind == "month") return MonthFileText(size);
  if (kind == "random") return RandomBytes(size);
  if (kind == "runs") return LongRuns(size);
  throw std::runtime_error("no sample " + kind);
}

std::string BaseName(const std::string& path) {
  return path.substr(path.find_last_of('/') + 1);
}

void Pack(const std::string& in, const std::string& out) {
  const std::string input = ReadFile(in);
  WriteFile(out, LhaArchive({"-lh5-", BaseName(in), static_cast<uint32_t>(input.size()),
                             LhaCrc16(input), CompressStream(input).substr(4)}));
}

// Checks the CRC-16 as an archiver does, so both sides do the same work.
void Unpack(const std::string& in, const std::string& out) {
  const TLhaMember member = ReadFirstLhaMember(ReadFile(in));
  if (member.Method != "-lh5-") throw std::runtime_error("method " + member.Method);
  std::string stream;
  for (int i = 0; i < 4; ++i) stream.push_back(static_cast<char>(member.OriginalSize >> (8 * i)));
  const std::string output = DecompressStream(stream + member.Packed);
  if (LhaCrc16(output) != member.Crc) throw std::runtime_error("CRC error");
  WriteFile(out, output);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "sample" && argc == 5)
      WriteFile(argv[4], Sample(argv[2], std::stoul(argv[3])));
    else if (command == "pack" && argc == 4)
      Pack(argv[2], argv[3]);
    else if (command == "unpack" && argc == 4)
      Unpack(argv[2], argv[3]);
    else
      throw std::runtime_error("usage: lzh_codec_tool sample|pack|unpack ...");
    return 0;
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return 1;
  }
}
