#include "media/asset_list.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

struct Reading {
  bool ok;
  std::string error;
  AssetList list;
};

Reading read(const std::string& text) {
  Reading reading;
  std::istringstream input(text);
  reading.ok = reading.list.read(input, "list.json", reading.error);
  return reading;
}

TEST(AssetListReading, AcceptsTheTwoTablesInNameOrder) {
  const Reading r = read(R"({"bitmap": {"b": "1.png", "a": "2.png"}, "sound": {"s": "3.ogg"}})");
  ASSERT_TRUE(r.ok) << r.error;
  ASSERT_EQ(2u, r.list.bitmaps().size());
  EXPECT_EQ("a", r.list.bitmaps()[0].first);
  EXPECT_EQ("2.png", r.list.bitmaps()[0].second);
  EXPECT_EQ("s", r.list.sounds()[0].first);
}

TEST(AssetListReading, RejectsEveryMalformedShapeWithAMessageNamingThePlace) {
  for (const char* unreadable : {"", R"({"bitmap": {}} trailing)", R"({"bitmap": {}} {"x": 1})"}) {
    const Reading r = read(unreadable);
    EXPECT_FALSE(r.ok) << unreadable;
    EXPECT_FALSE(r.list.parsed()) << unreadable;
    EXPECT_EQ(0u, r.error.find("list.json: not a readable JSON text (")) << r.error;
  }
  EXPECT_TRUE(read("{}\n\n").ok) << "white space may follow the list";
  EXPECT_EQ("list.json: the root must be an object, not string", read("\"x\"").error);
  EXPECT_EQ("list.json: \"sound\" must be an object of asset names, not array",
            read(R"({"sound": [1]})").error);
  EXPECT_EQ("list.json: \"bitmap\" must be an object of asset names, not number",
            read(R"({"bitmap": 3})").error);
  EXPECT_EQ("list.json: \"bitmap\" entry \"t\" must name a file as a string, not null",
            read(R"({"bitmap": {"s": "ok.png", "t": null}})").error);
  EXPECT_TRUE(read(R"({"bitmap": {"t": "x"}, "sound": [1]})").list.parsed());
}

}  // namespace
