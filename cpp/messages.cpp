// The argument signature of every diagnostic the preprocessor reports: what
// each alert_report call passes after the number.
#include "cpp/messages.h"

#include <cstddef>
#include <iterator>

namespace {

struct message_arguments {
    unsigned number;
    const char* arguments;
};

// Sorted by number.
const message_arguments SIGNATURES[] = {
    {100, "d"},  {101, "s"},  {102, "s"},  {103, "s"},  {104, ""},  {105, ""},    {106, ""},
    {107, "s"},  {108, ""},   {109, ""},   {110, ""},   {111, "s"}, {112, ""},    {113, ""},
    {114, ""},   {115, "ss"}, {116, "d"},  {117, ""},   {118, ""},  {119, ""},    {120, "s"},
    {121, "s"},  {122, "s"},  {123, "s"},  {124, "d"},  {125, "d"}, {126, ""},    {127, ""},
    {128, ""},   {129, ""},   {130, "s"},  {131, ""},   {132, ""},  {133, "d"},   {134, ""},
    {137, "d"},  {138, "d"},  {139, ""},   {141, "ss"}, {144, ""},  {146, ""},    {147, ""},
    {148, ""},   {149, ""},   {150, "s"},  {151, ""},   {152, "d"}, {153, "s"},   {155, "s"},
    {156, "s"},  {158, "s"},  {159, ""},   {161, "s"},  {162, "s"}, {163, ""},    {164, "s"},
    {165, "s"},  {166, "s"},  {167, "s"},  {168, "s"},  {169, "d"}, {171, "sdd"}, {172, ""},
    {174, "d"},  {175, ""},   {177, "s"},  {179, ""},   {180, ""},  {181, "ss"},  {182, "s"},
    {183, ""},   {184, "s"},  {185, "s"},  {186, "s"},  {187, ""},  {188, "s"},   {189, "s"},
    {190, "s"},  {191, "s"},  {192, "sd"}, {193, ""},   {195, ""},  {196, "s"},   {197, ""},
    {198, "ss"}, {200, "s"},  {201, "s"},  {337, ""},   {917, "d"}, {990, ""},
};

}  // namespace

const char* message_signature(unsigned number) {
    std::size_t low = 0;
    std::size_t high = std::size(SIGNATURES);
    while (low < high) {
        std::size_t mid = (low + high) / 2;
        if (SIGNATURES[mid].number == number) return SIGNATURES[mid].arguments;
        if (SIGNATURES[mid].number < number) {
            low = mid + 1;
        } else {
            high = mid;
        }
    }
    return nullptr;
}
