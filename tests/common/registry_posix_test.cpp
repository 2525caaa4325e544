// The store of installation values answers for the product's "language" and
// the installation's "instdir" only, each under its own key.
#include "common/registry.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "common/registry_platform.h"

namespace {

TEST(Registry, HoldsTheTwoInstallationValuesOnly) {
    setenv("LANG", "de_DE", 1);
    setenv("ZQT_INSTDIR", "/tools", 1);
    std::uint32_t value = 0;
    EXPECT_EQ(registry_product_dword("language", &value), 0u);
    EXPECT_EQ(value, 7u);
    EXPECT_EQ(registry_product_dword("instdir", &value), 2u);
    EXPECT_EQ(registry_get_dword(4, registry_install_key(), "language", &value, 0), 2u);
    EXPECT_EQ(registry_get_string(4, registry_product_key(), "instdir", 0).error, 2u);
    unsetenv("LANG");
    unsetenv("ZQT_INSTDIR");
}

}  // namespace
