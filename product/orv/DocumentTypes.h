// The document types the product can take over, and the class it registers them under.
#pragma once

namespace orv::product {

constexpr const char* DocumentProgId = "Orvanel.Document";
constexpr const char* const DocumentTypes[] = {"rtf", "cod", "doc", "docx"};
constexpr const char* UserClassesKey = "Software\\Classes\\";

}  // namespace orv::product
