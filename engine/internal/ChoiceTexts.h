// ChoiceTexts.h: the fixed GBK texts of the candidate display, its status
// tips, the selection and the key editing (the status line is put together
// from them at each display).
#pragma once

namespace choicetext {

extern const char kNoSuchTone[];
extern const char kNoSuchStrokes[];
extern const char kPagingHint[];
extern const char kFullPinyinIs[];
extern const char kShouldSpell[];
extern const char kZuCiWiderNarrower[];
extern const char kZuCiWider[];
extern const char kVModeOneKeyScheme1[];
extern const char kVModeOneKey[];
extern const char kVModeMoreKeysScheme1[];
extern const char kVModeMoreKeys[];
extern const char kVModeFullOneKey[];
extern const char kVModeFullMoreKeys[];
extern const char kMultiRowHelp[];
extern const char kRotate3[];
extern const char kRotate4[];
extern const char kRotate5[];
extern const char kRotate6[];
extern const char kRotate7Head[];
extern const char kRotate7Bracket[];
extern const char kRotate7Tail[];
extern const char kRotate8[];
extern const char kRotateZuCiInsert[];
extern const char kRotateZuCi[];
extern const char kCorrectionHint[];
extern const char kFirstKeyRule[];
extern const char kSpelledAs[];
extern const char kSpelledAsFuzzy[];
extern const char kSpelledAsKey[];
extern const char kReadingGap[];
extern const char kTypedAs[];
extern const char kTypedAsKG[];
extern const char kShrinkSegmentTip[];

}  // namespace choicetext
