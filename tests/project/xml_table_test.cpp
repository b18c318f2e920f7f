#include <gtest/gtest.h>

#include "project/xml_table.h"
#include "support/temp_dir.h"

namespace brenvale {
namespace {

using testing::read_text;
using testing::TempDir;
using testing::write_text;

TEST(XmlTable, WritesRootThenCommentWithoutDeclarationOrIndentation) {
  XmlWriter writer("COBID");
  writer.add_row({{"DP", "0"}, {"PGN", "61444"}, {"ID_DEV", ""}, {"Mnemonic", "a<b & \"c\""}});
  EXPECT_EQ(writer.text(),
            "<COBID><row DP=\"0\" PGN=\"61444\" ID_DEV=\"\" Mnemonic=\"a&lt;b &amp; &quot;c&quot;\"/></COBID>"
            "<!--SW_VERSION = 2.001-->");
}

TEST(XmlTable, EmptyTableIsTheRootAndTheComment) {
  XmlWriter writer("PDOJ1939");
  EXPECT_EQ(writer.text(), "<PDOJ1939/><!--SW_VERSION = 2.001-->");
}

TEST(XmlTable, RoundTripKeepsTextsAndTellsMissingFromEmpty) {
  TempDir dir;
  XmlWriter writer("COBID");
  writer.add_row({{"PGN", " 12 "}, {"Mnemonic", ""}});
  ASSERT_TRUE(writer.save(dir / "t.xml").ok());
  Result<XmlDocument> doc = load_xml_file(dir / "t.xml");
  ASSERT_TRUE(doc.ok());
  const pugi::xml_node row = doc->root().first_child();
  EXPECT_EQ(attribute(row, "PGN"), " 12 ");
  EXPECT_EQ(attribute(row, "Mnemonic"), "");
  EXPECT_EQ(attribute(row, "DP"), std::nullopt);
}

TEST(XmlTable, RootIsTheFirstNodeWhateverItsName) {
  Result<XmlDocument> doc = parse_xml_text("<?xml version=\"1.0\"?><!--x--><Other><row/></Other>", "t.xml");
  ASSERT_TRUE(doc.ok());
  EXPECT_STREQ(doc->root().name(), "Other");
}

TEST(XmlTable, ParseErrorNamesFileLineAndColumn) {
  TempDir dir;
  write_text(dir / "RCobDef.xml", "<COBID>\n<row PGN=\"1\">\n</COBID>");
  Result<XmlDocument> doc = load_xml_file(dir / "RCobDef.xml");
  ASSERT_FALSE(doc.ok());
  const std::string& message = doc.error().message;
  EXPECT_NE(message.find("RCobDef.xml"), std::string::npos) << message;
  EXPECT_NE(message.find("line 3"), std::string::npos) << message;
  EXPECT_NE(message.find("column"), std::string::npos) << message;
}

TEST(XmlTable, EmptyOrMissingFileIsAnError) {
  TempDir dir;
  write_text(dir / "e.xml", "");
  EXPECT_FALSE(load_xml_file(dir / "e.xml").ok());
  EXPECT_FALSE(load_xml_file(dir / "none.xml").ok());
}

TEST(XmlTable, FileLoadGivesWhatTheTextParseGives) {
  // The file is parsed in place, which rewrites entities and line ends; results and error
  // positions must still be those of the text as stored.
  TempDir dir;
  const std::string good = "<COBID>\r\n<row M=\"a&amp;b\" N=\"x\r\ny\"/>\r\n</COBID>";
  const std::string bad = "<COBID>\r\n<row M=\"a&amp;b\"/>\r\n<row PGN=\"1\">\r\n</COBID>";
  std::string utf16 = "\xFF\xFE";
  for (const char c : std::string("<T><row A=\"1\"/></T>")) utf16 += {c, '\0'};
  for (const std::string& text : {good, bad, utf16}) {
    write_text(dir / "t.xml", text);
    Result<XmlDocument> loaded = load_xml_file(dir / "t.xml");
    Result<XmlDocument> parsed = parse_xml_text(text, (dir / "t.xml").string());
    ASSERT_EQ(loaded.ok(), parsed.ok()) << text;
    if (!parsed.ok()) {
      EXPECT_EQ(loaded.error().message, parsed.error().message);
      continue;
    }
    const pugi::xml_node a = loaded->root().first_child();
    const pugi::xml_node b = parsed->root().first_child();
    EXPECT_STREQ(a.first_attribute().value(), b.first_attribute().value());
    EXPECT_STREQ(a.last_attribute().value(), b.last_attribute().value());
  }
  Result<XmlDocument> ok = load_xml_file(dir / "t.xml");
  ASSERT_TRUE(ok.ok());
  EXPECT_STREQ(ok->root().first_child().attribute("A").value(), "1");
}

TEST(XmlTable, FolderInPlaceOfAFileCannotBeRead) {
  TempDir dir;
  std::filesystem::create_directory(dir / "RCobDef.xml");
  Result<XmlDocument> doc = load_xml_file(dir / "RCobDef.xml");
  ASSERT_FALSE(doc.ok());
  EXPECT_NE(doc.error().message.find("RCobDef.xml: cannot be read"), std::string::npos) << doc.error().message;
}

TEST(RowAttributes, LooksUpLikePugixml) {
  // The first attribute of a name counts, also when the names are asked out of order or the
  // row holds more attributes than are kept inline.
  std::string wide = "<r";
  for (int i = 0; i < 40; ++i) wide += " a" + std::to_string(i) + "=\"" + std::to_string(i) + "\"";
  wide += " a7=\"late\"/>";
  struct Case {
    std::string row;
    const char* name;
    const char* expected;  // nullptr: missing
  };
  const Case cases[] = {
      {R"(<r PGN="1" DP="0"/>)", "PGN", "1"},
      {R"(<r PGN="1" DP="0"/>)", "DP", "0"},
      {R"(<r PGN="1" DP=""/>)", "DP", ""},
      {R"(<r PGN="1"/>)", "DP", nullptr},
      {R"(<r B1="1" B2="2" B1="3"/>)", "B1", "1"},
      {R"(<r P="1" PG="2" PGN="3"/>)", "PG", "2"},
      {R"(<r/>)", "", nullptr},
      {wide, "a39", "39"},
      {wide, "a7", "7"},
      {wide, "a40", nullptr},
  };
  for (const Case& c : cases) {
    Result<XmlDocument> doc = parse_xml_text(c.row, "t.xml");
    ASSERT_TRUE(doc.ok()) << c.row;
    const RowAttributes row(doc->root());
    // Ask another name first, so that a lookup never depends on where the last one stopped.
    (void)row.find("zz");
    const char* found = row.find(c.name);
    if (c.expected == nullptr) {
      EXPECT_EQ(found, nullptr) << c.row << " " << c.name;
      EXPECT_STREQ(row.value(c.name), "");
    } else {
      ASSERT_NE(found, nullptr) << c.row << " " << c.name;
      EXPECT_STREQ(found, c.expected) << c.row << " " << c.name;
      EXPECT_STREQ(found, doc->root().attribute(c.name).value());
    }
  }
}

TEST(XmlTable, ChildTextTellsMissingFromEmpty) {
  Result<XmlDocument> doc = parse_xml_text("<Par_Gen><A>x</A><B/></Par_Gen>", "p.xml");
  ASSERT_TRUE(doc.ok());
  EXPECT_EQ(child_text(doc->root(), "A"), "x");
  EXPECT_EQ(child_text(doc->root(), "B"), "");
  EXPECT_EQ(child_text(doc->root(), "C"), std::nullopt);
}

}  // namespace
}  // namespace brenvale
