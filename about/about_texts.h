#pragma once

// The maker's website lives in one build-time constant, ZEPHYRINE_WEBSITE_HOST
// (a CMake cache variable).
#ifndef ZEPHYRINE_WEBSITE_HOST
#error "ZEPHYRINE_WEBSITE_HOST must name the maker's website host"
#endif

constexpr const char* aboutWebsiteAddress = "https://" ZEPHYRINE_WEBSITE_HOST "/?utm_source=About";

constexpr const char* aboutTextLines =
    "Copyright (C) 2024-2026 Dreamloom. All rights reserved.\r\n"
    "More screensavers at " ZEPHYRINE_WEBSITE_HOST
    "\r\n"
    "Support: support@" ZEPHYRINE_WEBSITE_HOST;
