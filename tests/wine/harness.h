// A small test harness with GoogleTest's spelling (TEST, TEST_F, EXPECT_*, ASSERT_*, messages
// streamed with <<), for the Windows test driver: the cross compiler's thread model has no
// std::mutex, which GoogleTest needs. Run with --gtest_filter=PATTERN ('*' and '?' wildcards,
// patterns separated by ':').
#pragma once

#include <cstring>
#include <cwchar>
#include <functional>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

namespace testing {

class Test {
 public:
  virtual ~Test() = default;
  virtual void SetUp() {}
  virtual void TearDown() {}
  virtual void TestBody() = 0;
};

namespace internal {

int Register(const char* suite, const char* name, std::function<Test*()> make);
void Fail(const char* file, int line, const std::string& what, const std::string& message);

class Message {
 public:
  template <typename T>
  Message& operator<<(const T& value) {
    if constexpr (std::is_convertible_v<T, const wchar_t*>) {
      for (const wchar_t* p = value; p && *p; ++p) m_stream << static_cast<char>(*p < 128 ? *p : '?');
    } else {
      m_stream << value;
    }
    return *this;
  }
  std::string str() const { return m_stream.str(); }

 private:
  std::ostringstream m_stream;
};

class Failure {
 public:
  Failure(const char* file, int line, std::string what)
      : m_file(file), m_line(line), m_what(std::move(what)) {}
  void operator=(const Message& message) const { Fail(m_file, m_line, m_what, message.str()); }

 private:
  const char* m_file;
  int m_line;
  std::string m_what;
};

template <typename T>
std::string Show(const T& value) {
  if constexpr (std::is_arithmetic_v<T> || std::is_same_v<T, std::string>) {
    std::ostringstream out;
    out << value;
    return out.str();
  } else {
    return "(value)";
  }
}

inline bool StrEq(const wchar_t* a, const wchar_t* b) { return a && b ? std::wcscmp(a, b) == 0 : a == b; }
inline bool StrEq(const char* a, const char* b) { return a && b ? std::strcmp(a, b) == 0 : a == b; }

}  // namespace internal
}  // namespace testing

#define HARNESS_CHECK(ok, what, on_fail) \
  if (ok)                                \
    ;                                    \
  else                                   \
    on_fail ::testing::internal::Failure(__FILE__, __LINE__, what) = ::testing::internal::Message()

#define HARNESS_COMPARE(a, op, b, on_fail)                                                    \
  HARNESS_CHECK((a)op(b),                                                                     \
                std::string(#a " " #op " " #b " (") + ::testing::internal::Show(a) + " vs " + \
                    ::testing::internal::Show(b) + ")",                                       \
                on_fail)

#define EXPECT_TRUE(c) HARNESS_CHECK(!!(c), "EXPECT_TRUE(" #c ")", )
#define EXPECT_FALSE(c) HARNESS_CHECK(!(c), "EXPECT_FALSE(" #c ")", )
#define ASSERT_TRUE(c) HARNESS_CHECK(!!(c), "ASSERT_TRUE(" #c ")", return )
#define ASSERT_FALSE(c) HARNESS_CHECK(!(c), "ASSERT_FALSE(" #c ")", return )
#define EXPECT_EQ(a, b) HARNESS_COMPARE(a, ==, b, )
#define EXPECT_NE(a, b) HARNESS_COMPARE(a, !=, b, )
#define EXPECT_GE(a, b) HARNESS_COMPARE(a, >=, b, )
#define EXPECT_GT(a, b) HARNESS_COMPARE(a, >, b, )
#define ASSERT_EQ(a, b) HARNESS_COMPARE(a, ==, b, return )
#define EXPECT_STREQ(a, b) HARNESS_CHECK(::testing::internal::StrEq(a, b), "EXPECT_STREQ(" #a ", " #b ")", )

#define HARNESS_TEST(suite, name, base)                                                       \
  class suite##_##name##_Test : public base {                                                 \
   public:                                                                                    \
    void TestBody() override;                                                                 \
  };                                                                                          \
  static const int suite##_##name##_registered =                                              \
      ::testing::internal::Register(#suite, #name, [] { return new suite##_##name##_Test; }); \
  void suite##_##name##_Test::TestBody()

#define TEST(suite, name) HARNESS_TEST(suite, name, ::testing::Test)
#define TEST_F(fixture, name) HARNESS_TEST(fixture, name, fixture)
