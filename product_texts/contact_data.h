#pragma once

#include "version/version.h"

// The maker's contact data, kept in one place for every window that shows or opens it.
namespace veltrix::contact {

inline constexpr const char* kWebSiteHost = "www.norvane.example";
inline constexpr const char* kWebSiteAddress = "https://www.norvane.example";
inline constexpr const char* kProductPage = VELTRIX_HOMEPAGE;
inline constexpr const char* kRepresentativesPage = "https://www.norvane.example/reps/index.html";

inline constexpr const char* kSalesEmail = "sales@norvane.example";
inline constexpr const char* kEuropeSalesEmail = "europe@norvane.example";
inline constexpr const char* kSalesMailto = "mailto:sales@norvane.example";
inline constexpr const char* kEuropeSalesMailto = "mailto:europe@norvane.example";

inline constexpr const char* kSalesPhone = "+1 (555) 010-0142";
inline constexpr const char* kSalesFax = "+1 (555) 010-0143";
inline constexpr const char* kEuropePhone = "+1 (555) 010-0152";
inline constexpr const char* kEuropeFax = "+1 (555) 010-0153";

}  // namespace veltrix::contact
