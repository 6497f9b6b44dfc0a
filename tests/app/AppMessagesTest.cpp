// The application object as the host drives it through the module entry: the command table,
// initialisation and unload order, and the messages it ignores.

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/Application.h"
#include "app/CommandTable.h"
#include "app/HostLink.h"
#include "bridge/VordClient.h"
#include "commands/Commands.h"
#include "support/ClientSpy.h"
#include "support/World.h"
#include "util/FixedTexts.h"

namespace velmarin::testing {
namespace {

using app::HandleEntryMessage;

// What the client entry saw of the application at the moment of a call.
struct Snapshot {
    int code = 0;
    std::size_t commands = 0;
    bool services = false;
};

class AppTest : public ::testing::Test {
  protected:
    AppTest() {
        link_.host = &world_.host();
        link_.platform = &spy_;
        spy_.onCall = [this](int code) {
            snapshots_.push_back({code, world_.host().registeredCommands().size(),
                                  app::TheApplication().services() != nullptr});
            if (throwAt_ == code) throwing_();
        };
    }
    ~AppTest() override {
        if (app::TheApplication().initialised())
            HandleEntryMessage(app::kUnloadAppMsg, nullptr, nullptr);
    }

    int Init() { return HandleEntryMessage(app::kInitAppMsg, &link_, &instance_); }
    int Unload() { return HandleEntryMessage(app::kUnloadAppMsg, nullptr, &instance_); }
    void RunCommand(const std::string& name) {
        const auto* command = world_.host().findCommand(name);
        ASSERT_NE(command, nullptr) << name;
        command->function();
    }

    World world_;
    ClientSpy spy_{world_.systemPlatform()};
    HostLink link_;
    int instance_ = 0;
    std::vector<Snapshot> snapshots_;
    int throwAt_ = -1;  // the client code whose call throws
    std::function<void()> throwing_;
};

VordClient& Vord() { return app::TheApplication().services()->vord; }

TEST(CommandTable, SevenCommandsInRegistrationOrder) {
    struct Row {
        const char* global;
        const char* local;
    };
    const Row expected[] = {
        {"_openmethod", "openmethod"},
        {"_savemethod", "savemethod"},
        {"_loginmethod", "loginmethod"},
        {"_saveasmethod", "saveasmethod"},
        {"_VORD_batchchange", "VORD_batchchange"},
        {"_savebom", "savebom"},
        {"_PrintMethod", "PrintMethod"},
    };
    const auto& table = app::CommandTable();
    ASSERT_EQ(table.size(), std::size(expected));
    for (std::size_t i = 0; i < table.size(); ++i) {
        SCOPED_TRACE(expected[i].local);
        EXPECT_STREQ(table[i].group, "Velmarin");
        EXPECT_STREQ(table[i].globalName, expected[i].global);
        EXPECT_STREQ(table[i].localName, expected[i].local);
        EXPECT_EQ(table[i].flags, 1);
        EXPECT_NE(table[i].handler, nullptr);
        for (std::size_t j = 0; j < i; ++j) EXPECT_NE(table[j].handler, table[i].handler);
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
    EXPECT_EQ(app::TheApplication().instanceHandle(), &instance_);

    // One login, after the commands and the services exist.
    ASSERT_EQ(snapshots_.size(), 1u);
    EXPECT_EQ(snapshots_[0].code, 5);
    EXPECT_EQ(snapshots_[0].commands, 7u);
    EXPECT_TRUE(snapshots_[0].services);
    EXPECT_EQ(world_.clientCalls(),
              (std::vector<std::string>{"code=5\tparam1=0\tparam2=6\tparam3="}));
    EXPECT_EQ(Vord().firstLoginArgument, 0);
    EXPECT_EQ(Vord().secondLoginArgument, 6);
    EXPECT_TRUE(Vord().loggedIn());
    EXPECT_TRUE(world_.messages().empty());
}

TEST_F(AppTest, UnloadRemovesCommandsThenNotifiesThenDeletes) {
    ASSERT_EQ(Init(), 0);
    app::TheApplication().services()->save.SavePath = "D:\\w\\a.dwg";
    snapshots_.clear();
    ASSERT_EQ(Unload(), 0);

    ASSERT_EQ(snapshots_.size(), 1u);
    EXPECT_EQ(snapshots_[0].code, 6);
    EXPECT_EQ(snapshots_[0].commands, 0u);  // removed before the client hears of the unload
    EXPECT_TRUE(snapshots_[0].services);
    EXPECT_EQ(app::TheApplication().services(), nullptr);
    EXPECT_EQ(world_.host().findCommand("loginmethod"), nullptr);
    EXPECT_FALSE(app::TheApplication().initialised());
    EXPECT_EQ(world_.clientCalls().back(), "code=6\tparam1=0\tparam2=6\tparam3=");
}

TEST_F(AppTest, RefusedLoginLeavesThePluginLoaded) {
    world_.setClientBehaviour("[Code5]\nresult=0\n");
    ASSERT_EQ(Init(), 0);
    EXPECT_EQ(world_.host().registeredCommands().size(), 7u);
    ASSERT_NE(app::TheApplication().services(), nullptr);
    EXPECT_FALSE(Vord().loggedIn());
    EXPECT_TRUE(world_.messages().empty());
}

TEST(AppWithoutClient, MissingLibraryIsReportedAtLoad) {
    WorldOptions options;
    options.installClient = false;
    World world(options);
    HostLink link;
    link.host = &world.host();
    link.platform = &world.systemPlatform();
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
    EXPECT_TRUE(app::TheApplication().initialised());
    EXPECT_EQ(world_.clientCalls().size(), 1u);
}

TEST_F(AppTest, RepeatedInitialisationKeepsOneSetOfObjects) {
    ASSERT_EQ(Init(), 0);
    const app::Services* first = app::TheApplication().services();
    EXPECT_EQ(Init(), 0);
    EXPECT_EQ(app::TheApplication().services(), first);
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
    EXPECT_FALSE(app::TheApplication().initialised());
    EXPECT_EQ(app::TheApplication().services(), nullptr);
    EXPECT_EQ(HandleEntryMessage(app::kUnloadAppMsg, nullptr, nullptr), 0);
    EXPECT_EQ(HandleEntryMessage(app::kLoadDwgMsg, nullptr, nullptr), 0);
}

// --- The exception barrier: nothing thrown reaches the host, which keeps running.

TEST_F(AppTest, WhatACommandTheTimerOrTheEntryThrowsEndsInOneMessage) {
    struct Case {
        const char* name;
        int code;  // the client call that throws
        std::function<void()> throwing;
        std::function<void()> run;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {"a command", 23, [] { throw std::bad_alloc(); }, [this] { RunCommand("PrintMethod"); },
         texts::kOutOfMemory},
        {"the batch timer", 3, [] { throw std::runtime_error("disk gone"); },
         [this] {
             world_.notifier().queueDialogAnswer(std::vector<std::string>{});
             RunCommand("VORD_batchchange");
             world_.clock().advance(1000);
         },
         "disk gone"},
        {"the login at initialisation", 5, [] { throw 42; }, [this] { Init(); },
         texts::kUnknownError},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.code != 5) {
            ASSERT_EQ(Init(), 0);
        }
        world_.notifier().clear();
        throwAt_ = c.code;
        throwing_ = c.throwing;
        c.run();
        throwAt_ = -1;
        EXPECT_EQ(world_.messages(),
                  (std::vector<std::string>{std::string(texts::kCommandFailed) + c.reason}));
        // The editor runs on with the plug-in loaded: the next command works.
        EXPECT_TRUE(app::TheApplication().initialised());
        world_.notifier().clear();
        RunCommand("loginmethod");
        EXPECT_TRUE(world_.messages().empty());
        Unload();
    }
}

// --- The login command

TEST_F(AppTest, LoginCommandLogsInAgainAndTakesTheOutcome) {
    world_.setClientBehaviour("[Code5#1]\nresult=1\n[Code5#2]\nresult=2\n[Code5#3]\nresult=1\n");
    ASSERT_EQ(Init(), 0);
    ASSERT_TRUE(Vord().loggedIn());

    RunCommand("loginmethod");  // while logged in: sent again, and refused this time
    EXPECT_FALSE(Vord().loggedIn());
    RunCommand("_LOGINMETHOD");
    EXPECT_TRUE(Vord().loggedIn());

    EXPECT_EQ(world_.clientCalls(),
              (std::vector<std::string>(3, "code=5\tparam1=0\tparam2=6\tparam3=")));
    EXPECT_TRUE(world_.messages().empty());  // no guard, no message of its own
}

}  // namespace
}  // namespace velmarin::testing
