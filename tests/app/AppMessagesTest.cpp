// The application object as the host drives it through the module entry: the command table,
// initialisation and unload order, and the messages it ignores.

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "ClientSpy.h"
#include "app/CommandTable.h"
#include "app/HostLink.h"
#include "app/VelmarinApp.h"
#include "bridge/TdaVORD.h"
#include "commands/Commands.h"
#include "support/World.h"
#include "util/FixedTexts.h"
#include "util/Shared.h"

namespace velmarin::testing {
namespace {

using app::HandleEntryMessage;

// What the client entry saw of the application at the moment of a call.
struct Snapshot {
    int code = 0;
    std::size_t commands = 0;
    bool func = false, vord = false, autoVord = false, acad = false;
};

class AppTest : public ::testing::Test {
  protected:
    AppTest() {
        link_.host = &world_.host();
        link_.platform = &spy_;
        spy_.onCall = [this](int code) {
            const SharedObjects& shared = Shared();
            snapshots_.push_back({code, world_.host().registeredCommands().size(),
                                  shared.func != nullptr, shared.vord != nullptr,
                                  shared.autoVord != nullptr, shared.acad != nullptr});
        };
    }
    ~AppTest() override {
        if (app::TheApp().initialised()) HandleEntryMessage(app::kUnloadAppMsg, nullptr, nullptr);
    }

    int Init() { return HandleEntryMessage(app::kInitAppMsg, &link_, &instance_); }
    int Unload() { return HandleEntryMessage(app::kUnloadAppMsg, nullptr, &instance_); }
    void RunCommand(const std::string& name) {
        const auto* command = world_.host().findCommand(name);
        ASSERT_NE(command, nullptr) << name;
        command->function();
    }

    World world_;
    ClientSpy spy_{world_.platform()};
    HostLink link_;
    int instance_ = 0;
    std::vector<Snapshot> snapshots_;
};

TEST(CommandTable, SevenCommandsInRegistrationOrder) {
    struct Row {
        const char* global;
        const char* local;
        host::CommandFunction handler;
    };
    const Row expected[] = {
        {"_openmethod", "openmethod", &commands::openmethod},
        {"_savemethod", "savemethod", &commands::savemethod},
        {"_loginmethod", "loginmethod", &commands::loginmethod},
        {"_saveasmethod", "saveasmethod", &commands::saveasmethod},
        {"_VORD_batchchange", "VORD_batchchange", &commands::VORD_batchchange},
        {"_savebom", "savebom", &commands::savebom},
        {"_PrintMethod", "PrintMethod", &commands::PrintMethod},
    };
    const auto& table = app::CommandTable();
    ASSERT_EQ(table.size(), std::size(expected));
    for (std::size_t i = 0; i < table.size(); ++i) {
        SCOPED_TRACE(expected[i].local);
        EXPECT_STREQ(table[i].group, "Velmarin");
        EXPECT_STREQ(table[i].globalName, expected[i].global);
        EXPECT_STREQ(table[i].localName, expected[i].local);
        EXPECT_EQ(table[i].flags, 1);
        EXPECT_EQ(table[i].handler, expected[i].handler);
        EXPECT_EQ(table[i].uiContext, nullptr);
        EXPECT_EQ(table[i].localNameResource, -1);
    }
}

TEST_F(AppTest, InitialisationRegistersCreatesThenLogsIn) {
    ASSERT_EQ(Init(), 0);

    const auto& registered = world_.host().registeredCommands();
    const auto& table = app::CommandTable();
    ASSERT_EQ(registered.size(), table.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(registered[i].group, "Velmarin");
        EXPECT_EQ(registered[i].globalName, table[i].globalName);
        EXPECT_EQ(registered[i].localName, table[i].localName);
        EXPECT_EQ(registered[i].flags, 1);
        EXPECT_EQ(registered[i].function, table[i].handler);
    }
    EXPECT_EQ(world_.host().unlockRequests(), 1);
    EXPECT_EQ(world_.host().mdiAwareRequests(), 1);
    EXPECT_EQ(app::TheApp().instanceHandle(), &instance_);

    // One login, after the commands and all four objects exist.
    ASSERT_EQ(snapshots_.size(), 1u);
    EXPECT_EQ(snapshots_[0].code, 5);
    EXPECT_EQ(snapshots_[0].commands, 7u);
    EXPECT_TRUE(snapshots_[0].func && snapshots_[0].vord && snapshots_[0].autoVord &&
                snapshots_[0].acad);
    EXPECT_EQ(world_.clientCalls(),
              (std::vector<std::string>{"code=5\tparam1=0\tparam2=6\tparam3="}));
    EXPECT_EQ(Shared().vord->firstLoginArgument, 0);
    EXPECT_EQ(Shared().vord->secondLoginArgument, 6);
    EXPECT_EQ(Shared().vord->loginFlag, 1);
    EXPECT_TRUE(world_.messages().empty());
}

TEST_F(AppTest, UnloadRemovesCommandsThenNotifiesThenDeletes) {
    ASSERT_EQ(Init(), 0);
    SaveState().SavePath = "D:\\w\\a.dwg";
    snapshots_.clear();
    ASSERT_EQ(Unload(), 0);

    ASSERT_EQ(snapshots_.size(), 1u);
    EXPECT_EQ(snapshots_[0].code, 6);
    EXPECT_EQ(snapshots_[0].commands, 0u);  // removed before the client hears of the unload
    EXPECT_TRUE(snapshots_[0].func && snapshots_[0].vord && snapshots_[0].autoVord &&
                snapshots_[0].acad);
    EXPECT_EQ(Shared().func, nullptr);
    EXPECT_EQ(Shared().vord, nullptr);
    EXPECT_EQ(Shared().autoVord, nullptr);
    EXPECT_EQ(Shared().acad, nullptr);
    EXPECT_EQ(SaveState().SavePath, "");
    EXPECT_EQ(world_.host().findCommand("loginmethod"), nullptr);
    EXPECT_FALSE(app::TheApp().initialised());
    EXPECT_EQ(world_.clientCalls().back(), "code=6\tparam1=0\tparam2=6\tparam3=");
}

TEST_F(AppTest, RefusedLoginLeavesThePluginLoaded) {
    world_.setClientBehaviour("[Code5]\nresult=0\n");
    ASSERT_EQ(Init(), 0);
    EXPECT_EQ(world_.host().registeredCommands().size(), 7u);
    ASSERT_NE(Shared().vord, nullptr);
    EXPECT_EQ(Shared().vord->loginFlag, 0);
    EXPECT_TRUE(world_.messages().empty());
}

TEST(AppWithoutClient, MissingLibraryIsReportedAtLoad) {
    WorldOptions options;
    options.installClient = false;
    World world(options);
    HostLink link;
    link.host = &world.host();
    link.platform = &world.platform();
    ASSERT_EQ(HandleEntryMessage(app::kInitAppMsg, &link, nullptr), 0);
    EXPECT_EQ(world.messages(), (std::vector<std::string>{std::string(texts::kDllNotExists) +
                                                          "D:\\VORD\\VORDDll.dll"}));
    EXPECT_EQ(world.host().registeredCommands().size(), 7u);
    HandleEntryMessage(app::kUnloadAppMsg, nullptr, nullptr);
}

TEST_F(AppTest, ForeignMessagesDoNothing) {
    ASSERT_EQ(Init(), 0);
    spy_.journal.clear();
    const int codes[] = {0,  4,  5,  6,  7,  8,   9,       10, 11,     12,
                         13, 14, 15, 16, 17, 100, INT_MAX, -1, INT_MIN};
    for (int code : codes) {
        SCOPED_TRACE(code);
        EXPECT_EQ(HandleEntryMessage(code, &link_, nullptr), 0);
    }
    EXPECT_TRUE(spy_.journal.empty());
    EXPECT_EQ(world_.host().registeredCommands().size(), 7u);
    EXPECT_TRUE(app::TheApp().initialised());
    EXPECT_EQ(world_.clientCalls().size(), 1u);
}

TEST_F(AppTest, RepeatedInitialisationKeepsOneSetOfObjects) {
    ASSERT_EQ(Init(), 0);
    TdaVORD* first = Shared().vord;
    EXPECT_EQ(Init(), 0);
    EXPECT_EQ(Shared().vord, first);
    EXPECT_EQ(world_.clientCalls().size(), 1u);
}

TEST_F(AppTest, LoadDrawingLooksForThePrintFlowFile) {
    ASSERT_EQ(Init(), 0);
    world_.host().newDrawing("Drawing1.dwg");
    spy_.journal.clear();
    EXPECT_EQ(HandleEntryMessage(app::kLoadDwgMsg, nullptr, nullptr), 0);
    EXPECT_EQ(spy_.entries({"find"}), (std::vector<std::string>{"find Drawing1.dwg.print.ini"}));
}

TEST(AppWithoutHost, InitialisationFailsWithoutAHost) {
    host::install(nullptr);
    platform::install(nullptr);
    const std::uint32_t foreignPacket[4] = {0, 0, 0, 0};
    EXPECT_EQ(HandleEntryMessage(app::kInitAppMsg, nullptr, nullptr), app::kRetError);
    EXPECT_EQ(
        HandleEntryMessage(app::kInitAppMsg, const_cast<std::uint32_t*>(foreignPacket), nullptr),
        app::kRetError);
    EXPECT_FALSE(app::TheApp().initialised());
    EXPECT_EQ(Shared().vord, nullptr);
    EXPECT_EQ(HandleEntryMessage(app::kUnloadAppMsg, nullptr, nullptr), 0);
    EXPECT_EQ(HandleEntryMessage(app::kLoadDwgMsg, nullptr, nullptr), 0);
}

// --- The login command

TEST_F(AppTest, LoginCommandLogsInAgainAndTakesTheOutcome) {
    world_.setClientBehaviour("[Code5#1]\nresult=1\n[Code5#2]\nresult=2\n[Code5#3]\nresult=1\n");
    ASSERT_EQ(Init(), 0);
    ASSERT_EQ(Shared().vord->loginFlag, 1);

    RunCommand("loginmethod");  // while logged in: sent again, and refused this time
    EXPECT_EQ(Shared().vord->loginFlag, 0);
    RunCommand("_LOGINMETHOD");
    EXPECT_EQ(Shared().vord->loginFlag, 1);

    EXPECT_EQ(world_.clientCalls(),
              (std::vector<std::string>(3, "code=5\tparam1=0\tparam2=6\tparam3=")));
    EXPECT_TRUE(world_.messages().empty());  // no guard, no message of its own
}

}  // namespace
}  // namespace velmarin::testing
