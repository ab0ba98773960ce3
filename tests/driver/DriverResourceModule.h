#pragma once
// A resource module built from script text and installed as the driver's language
// library for the life of the object.
#include "driver/internal/DriverLastError.h"
#include "framework/core/Library.h"
#include "framework/core/Resources.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

class DriverResourceModule {
public:
    explicit DriverResourceModule(const std::string& scriptText)
    {
        std::string error;
        m_module = CreateResourceModule("driver-test.rc", scriptText, nullptr, error);
        EXPECT_NE(m_module, nullptr) << error;
        m_previous = GetDriverResourceHandle();
        SetDriverResourceHandle(m_module);
    }
    ~DriverResourceModule()
    {
        SetDriverResourceHandle(m_previous);
        if (m_module)
            FreeLibrary(m_module);
    }
    DriverResourceModule(const DriverResourceModule&) = delete;
    DriverResourceModule& operator=(const DriverResourceModule&) = delete;

    HINSTANCE Module() const { return m_module; }

    // The driver's own English script from the source tree.
    static std::string ShippedScript()
    {
        const char* source = std::getenv("TALISO_SOURCE_DIR");
        std::ifstream file(std::string(source ? source : ".") + "/language/driver.rc");
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

private:
    HINSTANCE m_module = nullptr;
    HINSTANCE m_previous = nullptr;
};
