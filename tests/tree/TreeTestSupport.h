// Shared by the viewer's unit tests: a definition's effective menu from text.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "Source.h"

inline velkin::EffectiveMenu ModelOf(const std::string& definition)
{
    velkin::EffectiveMenu model;
    std::string error;
    EXPECT_TRUE(tree::LoadDefinition(definition, "menu-tv.json", model, error)) << error;
    return model;
}
