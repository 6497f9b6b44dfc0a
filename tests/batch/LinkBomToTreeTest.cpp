#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "batch/BatchFixture.h"
#include "bom/BomFile.h"
#include "tree/AssemblyNode.h"
#include "tree/LinkBomToTree.h"
#include "tree/TreeFile.h"

namespace velmarin::testing::batch {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::SizeIs;

// The lines of one section, header included, as they stand in the file.
std::string SectionOf(const std::string& file, const std::string& name) {
    const std::size_t begin = file.find("[" + name + "]\r\n");
    if (begin == std::string::npos) return "";
    const std::size_t end = file.find("\r\n[", begin);
    return file.substr(begin, end == std::string::npos ? std::string::npos : end + 2 - begin);
}

// A section with `added` lines in place of its "ChildCount=0" line.
std::string WithChildren(const std::string& section, const std::string& added) {
    std::string out = section;
    out.replace(out.find("ChildCount=0\r\n"), 14, added);
    return out;
}

std::string Key(const std::string& title, const std::string& value) {
    return "config-Value-" + title + "=" + value + "\r\nconfig-Type-" + title + "=0\r\n";
}

// The tree file as the batch leaves it before linking, built through the node writer (which must
// give the same bytes as the fixture's text), then linked and saved.
class LinkBomToTreeTest : public BatchTest {
  protected:
    void WriteTree(const std::vector<NodeSpec>& nodes) {
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            AssemblyNode& node = nodes_.emplace_back();
            node.path = nodes[i].path;
            node.text = node.path.substr(node.path.rfind('\\') + 1);
            if (!nodes[i].drawingName.empty()) {
                node.properties.push_back({kDrawingName, nodes[i].drawingName, "0"});
            }
            node.WriteNodeSection(tree_, static_cast<int>(i));
        }
        tree_.Set(TreeFile::kInfoSection, TreeFile::kCountKey, std::to_string(nodes.size()));
        ASSERT_EQ(tree_.Bytes(), TreeFileText(nodes));
        ASSERT_EQ(TreeFile::PrepareIn("D:\\VORD\\"), kTreeFile);
        ASSERT_TRUE(tree_.Save());
    }
    void Link() {
        const bool written = world_->exists(kTreeFile);
        LinkBomToTree(nodes_, lists_, tree_);
        bom::WriteDetailFiles(lists_);
        if (written) tree_.Save();
    }
    // The drawings' part names, each drawing's list after the other.
    std::vector<std::string> Parts() const {
        std::vector<std::string> parts;
        for (const auto& rows : lists_) {
            for (const BomInfo& row : rows) parts.push_back(row.drawingName + ":" + row.partName);
        }
        return parts;
    }

    TreeFile tree_{kTreeFile};
    std::vector<AssemblyNode> nodes_;
    std::vector<std::vector<BomInfo>> lists_;
};

TEST_F(LinkBomToTreeTest, EveryNodeOfTheAssemblyGetsTheChildButOnlyTheFirstPartIsLinked) {
    const std::vector<NodeSpec> nodes = {{"D:\\w\\A.dwg", kAssembly},
                                         {"D:\\v\\A.dwg", kGear},
                                         {"D:\\w\\B.dwg", kShaft},
                                         {"D:\\w\\C.dwg", kShaft}};
    WriteTree(nodes);
    const std::string before = Tree();
    lists_ = {{TitleRow("D:\\w\\A.dwg"), Row("D:\\w\\A.dwg", "1", kShaft, "2")}};

    Link();

    const std::string after = Tree();
    const std::string child = "ChildCount=1\r\nchildname0=B.dwg\r\n";
    EXPECT_EQ(SectionOf(after, "TreeNode0"), WithChildren(SectionOf(before, "TreeNode0"), child));
    EXPECT_EQ(SectionOf(after, "TreeNode1"), WithChildren(SectionOf(before, "TreeNode1"), child));
    EXPECT_EQ(SectionOf(after, "TreeNode2"),
              SectionOf(before, "TreeNode2") + Key(kItemNo, "1") + Key(kQuantity, "2"));
    EXPECT_EQ(SectionOf(after, "TreeNode3"), SectionOf(before, "TreeNode3"));
    EXPECT_EQ(SectionOf(after, "TreeNodeInfo"), "[TreeNodeInfo]\r\nCount=4\r\n");
    // Only the title row is left, so A gets no detail file.
    EXPECT_THAT(lists_, ElementsAre(SizeIs(1)));
    EXPECT_FALSE(world_->exists("D:\\w\\A.bmf"));
}

TEST_F(LinkBomToTreeTest, LinkedRowsLeaveTheirBlocksAndTheRestGoToTheDetailFiles) {
    WriteTree({{"D:\\w\\A.dwg", kAssembly},
               {"D:\\w\\B.dwg", kShaft},
               {"D:\\w\\C.dwg", ""},
               {"D:\\w\\D.dwg", ""},
               {"D:\\w\\E.dwg", ""}});
    const std::string before = Tree();
    lists_ = {
        {TitleRow("D:\\w\\A.dwg"), Row("D:\\w\\A.dwg", "1", kBolt, "4")},
        {TitleRow("D:\\w\\C.dwg"), Row("D:\\w\\C.dwg", "1", kShaft, "1"),
         Row("D:\\w\\C.dwg", "2", kBolt, "8")},
        {TitleRow("D:\\w\\D.dwg"), Row("D:\\w\\D.dwg", "1", kShaft, "3")},
        {TitleRow("D:\\w\\E.dwg"), Row("D:\\w\\E.dwg", "1", kGear, "5"),
         Row("D:\\w\\E.dwg", "2", kBolt, "6")},
    };

    Link();

    EXPECT_THAT(Parts(),
                ElementsAre("A.dwg:" + kPartName, "A.dwg:" + kBolt, "C.dwg:" + kPartName,
                            "C.dwg:" + kBolt, "D.dwg:" + kPartName, "E.dwg:" + kPartName,
                            "E.dwg:" + kGear, "E.dwg:" + kBolt));
    EXPECT_THAT(lists_, ElementsAre(SizeIs(2), SizeIs(2), SizeIs(1), SizeIs(3)));

    const std::string after = Tree();
    // The later row overwrites the part's values in place.
    EXPECT_EQ(SectionOf(after, "TreeNode1"),
              SectionOf(before, "TreeNode1") + Key(kItemNo, "1") + Key(kQuantity, "3"));
    for (const char* assembly : {"TreeNode2", "TreeNode3"}) {
        EXPECT_EQ(SectionOf(after, assembly), WithChildren(SectionOf(before, assembly),
                                                           "ChildCount=1\r\nchildname0=B.dwg\r\n"));
    }
    EXPECT_EQ(SectionOf(after, "TreeNode0"), SectionOf(before, "TreeNode0"));

    const auto a = BomFileRows("D:\\w\\A.bmf");
    ASSERT_THAT(a, SizeIs(1));
    EXPECT_THAT(a[0], HasSubstr("'" + kBolt + "'"));
    const auto c = BomFileRows("D:\\w\\C.bmf");
    ASSERT_THAT(c, SizeIs(1));
    EXPECT_THAT(c[0], HasSubstr("','2','8','"));
    EXPECT_FALSE(world_->exists("D:\\w\\D.bmf"));
    EXPECT_THAT(BomFileRows("D:\\w\\E.bmf"), SizeIs(2));
}

TEST_F(LinkBomToTreeTest, ADrawingNamedAfterATitleTakesTheTitleBandWhichStillNamesTheRest) {
    WriteTree(
        {{"D:\\w\\A.dwg", kAssembly}, {"D:\\w\\N.dwg", kPartName}, {"D:\\w\\B.dwg", kShaft}});
    const std::string before = Tree();
    lists_ = {{TitleRow("D:\\w\\A.dwg"), Row("D:\\w\\A.dwg", "1", kShaft, "2"),
                Row("D:\\w\\A.dwg", "2", kBolt, "3")}};

    Link();

    const std::string after = Tree();
    EXPECT_EQ(SectionOf(after, "TreeNode1"),
              SectionOf(before, "TreeNode1") + Key(kItemNo, kItemNo) +
                  Key(kQuantity, kQuantity) + Key(kRemark, kRemark));
    EXPECT_EQ(SectionOf(after, "TreeNode2"),
              SectionOf(before, "TreeNode2") + Key(kItemNo, "1") + Key(kQuantity, "2"));
    EXPECT_EQ(SectionOf(after, "TreeNode0"),
              WithChildren(SectionOf(before, "TreeNode0"),
                           "ChildCount=2\r\nchildname0=N.dwg\r\nchildname1=B.dwg\r\n"));
    ASSERT_THAT(lists_, ElementsAre(SizeIs(2)));
    EXPECT_EQ(lists_[0][0].partName, kPartName);
    const auto rows = BomFileRows("D:\\w\\A.bmf");
    ASSERT_THAT(rows, SizeIs(1));
    EXPECT_THAT(rows[0], HasSubstr("'" + kBolt + "'"));
}

TEST_F(LinkBomToTreeTest, AColumnTitledDrawingNameRenamesThePartForTheRowsAfterIt) {
    WriteTree({{"D:\\w\\A.dwg", kAssembly}, {"D:\\w\\B.dwg", kShaft}});
    BomInfo header = TitleRow("D:\\w\\A.dwg");
    header.remark = kDrawingName;
    lists_ = {{header, Row("D:\\w\\A.dwg", "1", kShaft, "1", kGear),
                Row("D:\\w\\A.dwg", "2", kShaft, "1"), Row("D:\\w\\A.dwg", "3", kGear, "1")}};

    Link();

    const std::string after = Tree();
    EXPECT_THAT(SectionOf(after, "TreeNode1"),
                HasSubstr("config-Value-" + kDrawingName + "=" + kGear + "\r\n"));
    EXPECT_THAT(SectionOf(after, "TreeNode0"),
                HasSubstr("ChildCount=2\r\nchildname0=B.dwg\r\nchildname1=B.dwg\r\n"));
    ASSERT_THAT(lists_, ElementsAre(SizeIs(2)));
    EXPECT_EQ(lists_[0][1].itemNo, "2");
}

TEST_F(LinkBomToTreeTest, MatchingIsByteForByte) {
    WriteTree({{"D:\\w\\A.DWG", kAssembly}, {"D:\\w\\B.dwg", "SHAFT"}, {"D:\\w\\C.dwg", kGear}});
    const std::string before = Tree();
    lists_ = {{TitleRow("D:\\w\\A.DWG"), Row("D:\\w\\A.DWG", "1", "shaft", "1"),
                Row("D:\\w\\A.DWG", "2", kGear, "1")}};

    Link();

    // The rows name their drawing "A.dwg", as the BOM analysis spells it; the node is "A.DWG".
    // The gear is still a part of the batch and takes its row.
    const std::string after = Tree();
    EXPECT_EQ(SectionOf(after, "TreeNode0"), SectionOf(before, "TreeNode0"));
    EXPECT_EQ(SectionOf(after, "TreeNode1"), SectionOf(before, "TreeNode1"));
    EXPECT_THAT(SectionOf(after, "TreeNode2"), HasSubstr(Key(kItemNo, "2")));
    ASSERT_THAT(lists_, ElementsAre(SizeIs(2)));
    EXPECT_EQ(lists_[0][1].partName, "shaft");
}

TEST_F(LinkBomToTreeTest, WithoutATreeFileEveryRowStaysInTheBom) {
    lists_ = {{TitleRow("D:\\w\\A.dwg"), Row("D:\\w\\A.dwg", "1", kShaft, "2")}};

    Link();

    EXPECT_FALSE(world_->exists(kTreeFile));
    EXPECT_THAT(lists_, ElementsAre(SizeIs(2)));
    EXPECT_THAT(BomFileRows("D:\\w\\A.bmf"), SizeIs(1));
}

TEST_F(LinkBomToTreeTest, DrawingsWithoutATableOrWithTitlesOnlyLinkNothing) {
    WriteTree({{"D:\\w\\A.dwg", kAssembly}, {"D:\\w\\B.dwg", kShaft}});
    lists_ = {{},
              {TitleRow("D:\\w\\B.dwg")},
              {TitleRow("D:\\w\\A.dwg"), Row("D:\\w\\A.dwg", "1", kShaft, "2"),
               Row("D:\\w\\A.dwg", "2", kBolt, "2")}};

    Link();

    // Only the shaft's row leaves its list; B gets no detail file, A one with the bolt.
    EXPECT_THAT(lists_, ElementsAre(SizeIs(0), SizeIs(1), SizeIs(2)));
    EXPECT_FALSE(world_->exists("D:\\w\\B.bmf"));
    EXPECT_THAT(BomFileRows("D:\\w\\A.bmf"), SizeIs(1));
}

TEST_F(LinkBomToTreeTest, ALineBreakInACellCannotAddLinesToTheTreeFile) {
    WriteTree({{"D:\\w\\A.dwg", kAssembly}, {"D:\\w\\B.dwg", kShaft}});
    lists_ = {{TitleRow("D:\\w\\A.dwg"),
                Row("D:\\w\\A.dwg", "1", kShaft, "2\r\n[TreeNodeInfo]\r\nCount=99")}};

    Link();

    const std::string after = Tree();
    EXPECT_THAT(after,
                HasSubstr("config-Value-" + kQuantity + "=2  [TreeNodeInfo]  Count=99\r\n"));
    EXPECT_EQ(SectionOf(after, "TreeNodeInfo"), "[TreeNodeInfo]\r\nCount=2\r\n");
}

}  // namespace
}  // namespace velmarin::testing::batch
