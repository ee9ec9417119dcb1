#include "generator/QuizKey.h"

#include <array>
#include <cstdint>

namespace tavimor {
namespace {

constexpr char kFieldEnd = '\x1F';
constexpr char kQuestionEnd = '\x1E';

} // namespace

QuizKeyHasher::QuizKeyHasher(bool certainty)
{
    sha256_init(&context_);
    Number(certainty ? 1 : 0);
}

void QuizKeyHasher::Field(std::string_view bytes)
{
    sha256_update(&context_, bytes.size(), reinterpret_cast<const std::uint8_t*>(bytes.data()));
    sha256_update(&context_, 1, reinterpret_cast<const std::uint8_t*>(&kFieldEnd));
}

void QuizKeyHasher::Number(long long value)
{
    Field(std::to_string(value));
}

void QuizKeyHasher::EndQuestion()
{
    sha256_update(&context_, 1, reinterpret_cast<const std::uint8_t*>(&kQuestionEnd));
}

std::string QuizKeyHasher::Key()
{
    std::array<std::uint8_t, SHA256_DIGEST_SIZE> digest {};
    sha256_digest(&context_, digest.size(), digest.data());
    constexpr std::string_view kHex = "0123456789abcdef";
    std::string key;
    for (std::size_t i = 0; i < 8; ++i) {
        key += kHex[digest[i] >> 4];
        key += kHex[digest[i] & 0xF];
    }
    return key;
}

} // namespace tavimor
