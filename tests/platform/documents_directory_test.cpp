// Where the documents folder is, and that it exists once asked for.
#include <filesystem>
#include <optional>
#include <string>

#include <kelvane/platform/documents_directory.hpp>

#include <gtest/gtest.h>

#include "case_name.hpp"
#include "scoped_environment.hpp"
#include "temp_home.hpp"

namespace {

namespace fs = std::filesystem;

struct DocumentsCase {
    const char* name;
    std::optional<std::string> (*variable)(const fs::path& home);  // XDG_DOCUMENTS_DIR
    fs::path (*expected)(const fs::path& home);
};

void PrintTo(const DocumentsCase& c, std::ostream* out) {
    *out << c.name;
}

class DocumentsDirectory : public ::testing::TestWithParam<DocumentsCase> {};

TEST_P(DocumentsDirectory, IsFoundAndMadeWhenMissing) {
    const kelvane::testing::TempHome home;
    const kelvane::testing::ScopedEnvironment variable("XDG_DOCUMENTS_DIR",
                                                       GetParam().variable(home.path()));
    const fs::path expected = GetParam().expected(home.path());

    EXPECT_EQ(kelvane::platform::documentsDirectory(), expected.string());
    EXPECT_TRUE(fs::is_directory(expected));
}

fs::path homeDocuments(const fs::path& home) {
    return home / "Documents";
}

INSTANTIATE_TEST_SUITE_P(
    Variables, DocumentsDirectory,
    ::testing::Values(
        DocumentsCase{"Unset",
                      [](const fs::path&) -> std::optional<std::string> { return std::nullopt; },
                      homeDocuments},
        DocumentsCase{"Empty", [](const fs::path&) -> std::optional<std::string> { return ""; },
                      homeDocuments},
        DocumentsCase{"RelativeIsIgnored",
                      [](const fs::path&) -> std::optional<std::string> { return "docs"; },
                      homeDocuments},
        DocumentsCase{"AbsoluteWithParentsAndTrailingSlash",
                      [](const fs::path& h) -> std::optional<std::string> {
                          return (h / "my docs" / "a").string() + "/";
                      },
                      [](const fs::path& h) { return h / "my docs" / "a"; }}),
    kelvane::testing::caseName);

}  // namespace
