#include "core/image/image_decode.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <variant>
#include <vector>

#include "support/failure_of.h"
#include "support/sample_images.h"
#include "support/temp_dir.h"

namespace sw48230 {
namespace {

using test::TempDir;

constexpr std::size_t Block = Records_Size;  // file offset of the general block

void put_u16(Bytes& bytes, std::size_t offset, std::uint16_t value) {
  bytes[offset] = static_cast<std::uint8_t>(value);
  bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

std::uint16_t get_u16(const Bytes& bytes, std::size_t offset) {
  return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

void put_u32(Bytes& bytes, std::size_t offset, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// Makes the checksum right again, so that a fault elsewhere shows alone.
void fix_checksum(Bytes& bank2) {
  std::uint32_t sum = 0;
  for (std::size_t i = Block; i < Block + General_Block_Checksum_Offset; ++i) sum += bank2[i];
  put_u32(bank2, Block + General_Block_Checksum_Offset, sum);
}

DecodedImage decoded(const Bytes& bytes) {
  const Result<DecodedImage> decode = Decode_Image(bytes, "bank.bin");
  EXPECT_TRUE(decode) << test::english(decode.failure());
  return decode ? *decode : DecodedImage{};
}

TEST(DecodeImage, ReadsBackABank2Image) {
  const Bank2Image image = test::sample_bank2();
  const DecodedImage result = decoded(Serialize_Bank2(image));
  ASSERT_TRUE(std::holds_alternative<DecodedBank2>(result.content));
  const auto& bank2 = std::get<DecodedBank2>(result.content);
  EXPECT_EQ(result.size, Bank2_Size);
  EXPECT_EQ(bank2.image.general, image.general);
  EXPECT_EQ(bank2.image.records, image.records);
  EXPECT_EQ(bank2.filled_records(), 3u);
  EXPECT_EQ(&bank2.record_kind(1), &Read_Requests());
  EXPECT_EQ(&bank2.record_kind(2), &Write_Requests());
  EXPECT_EQ(bank2.stored_checksum, bank2.computed_checksum);
  EXPECT_TRUE(result.checksum_verified);
  EXPECT_EQ(result.problems, std::vector<std::string>{});
}

TEST(DecodeImage, ReadsBackABankImage) {
  const DecodedImage result = decoded(test::sample_bank());
  ASSERT_TRUE(std::holds_alternative<DecodedBank>(result.content));
  const auto& bank = std::get<DecodedBank>(result.content);
  EXPECT_EQ(result.size, 88u);
  EXPECT_EQ(bank.header, (std::array<std::uint32_t, 3>{12, 38, 64}));
  EXPECT_EQ(bank.rows[Read_Requests().index], test::sample_bank_request_rows());
  EXPECT_EQ(bank.rows[Write_Requests().index], test::sample_bank_setting_rows());
  EXPECT_EQ(bank.params, test::sample_bank_params());
  EXPECT_EQ(bank.stored_rows[Read_Requests().index], 2);
  EXPECT_EQ(bank.stored_rows[Write_Requests().index], 2);
  EXPECT_EQ(result.problems, std::vector<std::string>{});
}

TEST(DecodeImage, AnEmptyProjectsBankHasNoRows) {
  const DecodedImage result = decoded(test::bank_bytes({}, {}, test::sample_bank_params()));
  const auto& bank = std::get<DecodedBank>(result.content);
  EXPECT_EQ(bank.header, (std::array<std::uint32_t, 3>{12, 12, 12}));
  EXPECT_TRUE(bank.rows[Read_Requests().index].empty());
  EXPECT_TRUE(bank.rows[Write_Requests().index].empty());
  EXPECT_EQ(result.problems, std::vector<std::string>{});
}

TEST(DecodeImage, RefusesBytesOfNeitherLayout) {
  const auto bank_of = [](std::size_t size, std::uint32_t first, std::uint32_t second, std::uint32_t third) {
    Bytes bytes(size, 0);
    put_u32(bytes, 0, first);
    put_u32(bytes, 4, second);
    put_u32(bytes, 8, third);
    return bytes;
  };
  const struct {
    const char* name;
    Bytes bytes;
    const char* reason;
  } cases[] = {
      {"empty", {}, "the file is empty"},
      {"shorter than the smallest bank", Bytes(35, 0), "35 bytes is the size of neither"},
      {"not 36 + 13 n", bank_of(100, 12, 12, 76), "100 bytes is the size of neither"},
      {"a byte short of bank2", Bytes(Bank2_Size - 1, 0), "34815 bytes is the size of neither"},
      {"a byte over bank2", Bytes(Bank2_Size + 1, 0), "34817 bytes is the size of neither"},
      {"more than a bank holds", bank_of(36 + 13 * 7690, 12, 12, 12 + 13 * 7690),
       "100006 bytes is the size of neither"},
      {"first offset not 12", bank_of(36, 0, 12, 12), "a bank.bin of 36 bytes has the header offsets"},
      {"last offset not before Bank_Params", bank_of(49, 12, 12, 12), "but this file holds 12, 12 and 12"},
      {"setting rows between two rows", bank_of(62, 12, 30, 38), "but this file holds 12, 30 and 38"},
      {"setting rows after Bank_Params", bank_of(62, 12, 51, 38), "but this file holds 12, 51 and 38"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Result<DecodedImage> decode = Decode_Image(c.bytes, "bank.bin");
    ASSERT_FALSE(decode);
    EXPECT_EQ(decode.failure().text, Msg_Failure_Not_An_Image);
    EXPECT_EQ(test::english(decode.failure()).rfind("bank.bin is not a configuration image: ", 0), 0u)
        << test::english(decode.failure());
    EXPECT_NE(decode.failure().reason.find(c.reason), std::string::npos) << decode.failure().reason;
  }
}

TEST(DecodeImage, ReportsWhatTheBuilderWouldNotHaveWrittenInBank2) {
  const struct {
    const char* name;
    std::function<void(Bytes&)> damage;
    std::vector<std::string> problems;
  } cases[] = {
      {"a constant",
       [](Bytes& b) {
         put_u16(b, Block + 16, 7);
         fix_checksum(b);
       },
       {"General_Block offset 16 (Fixed_Bits_A) holds 7 instead of 8"}},
      {"reserved block bytes",
       [](Bytes& b) {
         b[Block + 4] = 1;
         b[Block + 2043] = 0x80;
         fix_checksum(b);
       },
       {"reserved General_Block bytes are not zero: block offsets 4, 2043"}},
      {"counts that do not add up",
       [](Bytes& b) {
         put_u32(b, Block + 292, 2);
         fix_checksum(b);
       },
       {"Record_Count 3 is not Request_Count 2 + Setting_Count 2"}},
      {"more records than the file holds",
       [](Bytes& b) {
         put_u32(b, Block + 72, 2000);
         put_u32(b, Block + 288, 2000);
         put_u32(b, Block + 292, 0);
         fix_checksum(b);
       },
       {"Record_Count 2000 exceeds the 1024 records of the file",
        // The write record now counts as the third read record.
        "Slot_Offset is not 8 x the position in its table: records 2, 3, 4, 5, 6, 7, 8, 9 and 1014 more",
        "Function is no code of its table (1..4 for read, 5, 6, 15, 16 for write requests): records 2, 3, 4, 5, 6, 7, "
        "8, 9 and 1014 more"}},
      {"reserved record bytes", [](Bytes& b) { b[28] = 1; }, {"reserved record bytes are not zero: record 0"}},
      {"a slot offset",
       [](Bytes& b) { put_u16(b, 32, 0); },
       {"Slot_Offset is not 8 x the position in its table: record 1"}},
      {"a byte count",
       [](Bytes& b) { b[2 * 32 + 30] = 16; },
       {"Byte_Count does not match Function and Quantity: record 2"}},
      {"records after the filled ones",
       [](Bytes& b) {
         b[5 * 32 + 9] = 3;
         b[1023 * 32 + 31] = 4;
       },
       {"records after the filled ones are not zero: records 5, 1023"}},
      // Values no checked row gives, each with a matching byte count.
      {"a function no write request has",
       [](Bytes& b) {
         b[2 * 32 + 9] = 8;
         b[2 * 32 + 30] = Byte_Count_For(8, get_u16(b, 2 * 32 + 12));
       },
       {"Function is no code of its table (1..4 for read, 5, 6, 15, 16 for write requests): record 2"}},
      {"a read function in a write record",
       [](Bytes& b) {
         b[2 * 32 + 9] = 1;
         b[2 * 32 + 30] = Byte_Count_For(1, get_u16(b, 2 * 32 + 12));
       },
       {"Function is no code of its table (1..4 for read, 5, 6, 15, 16 for write requests): record 2"}},
      {"five registers",
       [](Bytes& b) {
         put_u16(b, 12, 5);
         b[30] = Byte_Count_For(3, 5);
       },
       {"Quantity is outside what a request of its Function carries: record 0"}},
      {"an 11-bit Cob-ID no CAN bus carries",
       [](Bytes& b) { put_u32(b, 32 + 20, 0x186A0); },
       {"COB is larger than its frame format allows (0x7FF for 11 bits, 0x1FFFFFFF for 29): record 1"}},
  };
  const Bytes good = Serialize_Bank2(test::sample_bank2());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes bytes = good;
    c.damage(bytes);
    const DecodedImage result = decoded(bytes);
    EXPECT_EQ(result.problems, c.problems);
    EXPECT_TRUE(result.checksum_verified);
  }
}

TEST(DecodeImage, AChecksumThatDoesNotVerifyIsAProblemButTheValuesAreRead) {
  Bytes bytes = Serialize_Bank2(test::sample_bank2());
  const std::uint32_t sum = bytes[Block + 2044] | (bytes[Block + 2045] << 8);
  bytes[Block + 40] = 10;  // the first address byte: 192 -> 10
  const DecodedImage result = decoded(bytes);
  EXPECT_FALSE(result.checksum_verified);
  EXPECT_EQ(result.problems,
            std::vector<std::string>{"the checksum does not verify: the file holds " + std::to_string(sum) +
                                     ", the General_Block adds up to " + std::to_string(sum - 182)});
  const auto& bank2 = std::get<DecodedBank2>(result.content);
  EXPECT_EQ(bank2.image.general.IP_Address, (Ipv4Bytes{10, 168, 0, 10}));
  EXPECT_EQ(bank2.image.records, test::sample_bank2().records);
}

TEST(DecodeImage, ReportsWhatTheBuilderWouldNotHaveWrittenInBank) {
  constexpr std::size_t Params = 64;  // offset of Bank_Params in the sample
  const struct {
    const char* name;
    std::function<void(Bytes&)> damage;
    std::vector<std::string> problems;
  } cases[] = {
      {"row counts",
       [](Bytes& b) { put_u16(b, Params + 20, 3); },
       {"Bank_Params counts 3 request and 2 setting rows, the header delimits 2 and 2"}},
      {"request rows out of order",
       [](Bytes& b) { put_u32(b, 12 + 13, 0xFF); },
       {"the request rows are not in ascending order of COB: row 1 comes after a greater one"}},
      {"setting rows out of order",
       [](Bytes& b) { put_u32(b, 38 + 13, 0x2FF); },
       {"the setting rows are not in ascending order of COB: row 3 comes after a greater one"}},
      {"a bit-rate code outside the list", [](Bytes& b) { b[Params] = 9; }, {"the CAN_Baud code 9 is outside 1..8"}},
      {"bit-rate code 0", [](Bytes& b) { b[Params] = 0; }, {"the CAN_Baud code 0 is outside 1..8"}},
      {"a request type code the builder does not write",
       [](Bytes& b) { b[12 + 11] = 5; },
       {"the type code of a request row is none the builder writes: row 0"}},
      {"a setting type code the builder does not write",
       [](Bytes& b) { b[38 + 11] = 2; },
       {"the type code of a setting row is none the builder writes: row 2"}},
      {"no quantity", [](Bytes& b) { b[12 + 12] = 0; },
       {"Quantity is outside what a request row of its type carries: row 0"}},
      {"a frame format outside the list", [](Bytes& b) { b[Params + 1] = 2; }, {"the CAN_Type 2 is outside 0..1"}},
      {"a Cob-ID beyond 11 bits",
       [](Bytes& b) {
         b[Params + 1] = 0;
         put_u32(b, 12 + 13, 0x800);
       },
       {"COB is larger than the CAN_Type of Bank_Params allows: row 1"}},
  };
  const Bytes good = test::sample_bank();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes bytes = good;
    c.damage(bytes);
    EXPECT_EQ(decoded(bytes).problems, c.problems);
  }
}

TEST(ReadImageFile, ReadsWholeFilesUpToTheSizeOfABank) {
  TempDir dir;

  const Bytes bank = test::sample_bank();
  test::write_file(dir / "bank.bin", as_chars(bank));
  const Result<Bytes> read = Read_Image_File(dir / "bank.bin");
  ASSERT_TRUE(read);
  EXPECT_EQ(*read, bank);

  test::write_file(dir / "full.bin", std::string(Bank_Buffer_Size, '\0'));
  const Result<Bytes> full = Read_Image_File(dir / "full.bin");
  ASSERT_TRUE(full);
  EXPECT_EQ(full->size(), Bank_Buffer_Size);

  test::write_file(dir / "large.bin", std::string(Bank_Buffer_Size + 1, '\0'));
  const Result<Bytes> large = Read_Image_File(dir / "large.bin");
  ASSERT_FALSE(large);
  EXPECT_EQ(large.failure().reason, "larger than the limit of 100000 bytes");

  for (const std::filesystem::path& unreadable : {dir / "missing.bin", dir.path()}) {
    const Result<Bytes> refused = Read_Image_File(unreadable);
    ASSERT_FALSE(refused) << unreadable;
    EXPECT_NE(refused.failure().reason, "") << unreadable;
  }
}

}  // namespace
}  // namespace sw48230
