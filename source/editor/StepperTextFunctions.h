#pragma once

namespace viewkit {
class CParamDisplay;
class CTextEdit;
} // namespace viewkit

namespace vexbit {

// A stepper's text field reads and writes values through the parameter it
// shows: field -> its editor -> the editor's controller -> the parameter of
// the field's tag. Both answer false when a link of that chain is missing.

// Parses typed UTF-8 text into the parameter's normalized value.
bool stepperStringToValue(const char* text, float& value, viewkit::CTextEdit* field);
// Formats a normalized value into the 256-byte buffer, always terminated.
bool stepperValueToString(float value, char text[256], viewkit::CParamDisplay* display);

} // namespace vexbit
