// Shared by the foundation tests: the application set up for real windows,
// exceptions of callbacks collected instead of shown, and message pumping.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "classlib/windows/application.h"

class FoundationWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        Application->Initialize();
        Application->OnException = TExceptionEvent(this, &FoundationWindowTest::Caught);
    }
    void TearDown() override {
        Application->ProcessMessages();
        Application->OnException = nullptr;
        EXPECT_TRUE(exceptions.empty()) << exceptions.front();
    }
    void Caught(TObject*, const Exception& E) { exceptions.push_back(E.Message()); }

    std::vector<std::string> exceptions;
};
