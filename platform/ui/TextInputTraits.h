#pragma once
// Traits of the keyboard a text input asks for, in the platform's numbering.
// The desktop's keyboard types whatever they say; they are kept for the
// screens that set and read them, but for secure entry, which the inputs
// honour. Text fields and text views both have them.
namespace ui {

enum class ReturnKeyType { Default = 0, Go = 1, Google = 2, Join = 3, Next = 4, Route = 5, Search = 6, Send = 7,
                           Yahoo = 8, Done = 9, EmergencyCall = 10 };
enum class TextAutocorrectionType { Default = 0, No = 1, Yes = 2 };
enum class TextAutocapitalizationType { None = 0, Words = 1, Sentences = 2, AllCharacters = 3 };
enum class KeyboardType { Default = 0, ASCIICapable = 1, NumbersAndPunctuation = 2, URL = 3, NumberPad = 4,
                          PhonePad = 5, NamePhonePad = 6, EmailAddress = 7 };
enum class KeyboardAppearance { Default = 0, Alert = 1 };

class TextInputTraits {
 public:
  virtual ~TextInputTraits() = default;
  ReturnKeyType returnKeyType() const { return returnKeyType_; }
  void setReturnKeyType(ReturnKeyType type) { returnKeyType_ = type; }
  bool enablesReturnKeyAutomatically() const { return enablesReturnKeyAutomatically_; }
  void setEnablesReturnKeyAutomatically(bool on) { enablesReturnKeyAutomatically_ = on; }
  TextAutocorrectionType autocorrectionType() const { return autocorrectionType_; }
  void setAutocorrectionType(TextAutocorrectionType type) { autocorrectionType_ = type; }
  TextAutocapitalizationType autocapitalizationType() const { return autocapitalizationType_; }
  void setAutocapitalizationType(TextAutocapitalizationType type) { autocapitalizationType_ = type; }
  KeyboardType keyboardType() const { return keyboardType_; }
  void setKeyboardType(KeyboardType type) { keyboardType_ = type; }
  KeyboardAppearance keyboardAppearance() const { return keyboardAppearance_; }
  void setKeyboardAppearance(KeyboardAppearance appearance) { keyboardAppearance_ = appearance; }
  // A password: the input shows a bullet for each character and lets none be copied.
  bool secureTextEntry() const { return secureTextEntry_; }
  virtual void setSecureTextEntry(bool secure) { secureTextEntry_ = secure; }

 private:
  ReturnKeyType returnKeyType_ = ReturnKeyType::Default;
  bool enablesReturnKeyAutomatically_ = false;
  TextAutocorrectionType autocorrectionType_ = TextAutocorrectionType::Default;
  TextAutocapitalizationType autocapitalizationType_ = TextAutocapitalizationType::Sentences;
  KeyboardType keyboardType_ = KeyboardType::Default;
  KeyboardAppearance keyboardAppearance_ = KeyboardAppearance::Default;
  bool secureTextEntry_ = false;
};

}  // namespace ui
