#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "batch/BatchFixture.h"
#include "bridge/VordClient.h"
#include "commands/Commands.h"
#include "util/FixedTexts.h"

namespace velmarin::testing::batch {
namespace {

using ::testing::ElementsAre;
using ::testing::SizeIs;

class BatchCommandTest : public BatchTest {
  protected:
    std::size_t Runs() const { return world_->notifier().dialogs().size(); }
};

TEST_F(BatchCommandTest, ARefusedLoginShowsBothMessagesAndSchedulesNothing) {
    world_->setClientBehaviour("[Code5]\r\nresult=0\r\n");

    commands::VORD_batchchange(world_->vord(), world_->batchTimer());

    EXPECT_THAT(world_->messages(), ElementsAre(texts::kLoginFirst, texts::kLoginBeforeBatch));
    EXPECT_FALSE(world_->clock().pending());
    world_->clock().advance(5000);
    EXPECT_EQ(Runs(), 0u);
}

TEST_F(BatchCommandTest, EachInvocationRunsTheBatchOnceASecondAfterTheCommandEnded) {
    world_->vord().Login();
    world_->notifier().clear();

    commands::VORD_batchchange(world_->vord(), world_->batchTimer());
    commands::VORD_batchchange(world_->vord(), world_->batchTimer());
    EXPECT_EQ(Runs(), 0u);

    world_->clock().advance(999);
    EXPECT_EQ(Runs(), 0u);
    world_->clock().advance(1);
    EXPECT_EQ(Runs(), 2u);
    world_->clock().advance(10000);
    EXPECT_EQ(Runs(), 2u);
    EXPECT_FALSE(world_->clock().pending());
    EXPECT_THAT(world_->messages(), SizeIs(0));
}

}  // namespace
}  // namespace velmarin::testing::batch
