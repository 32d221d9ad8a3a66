// The Windows build's fmt, compiled once: the formatting core (the parts of
// fmt's format-inl.h that are not templates, and the templates fmt's headers
// declare for char and wchar_t without defining them) goes into one static
// library instead of into every file that formats text, as fmt's header-only
// mode would have it. Linux builds link Debian's compiled fmt instead.
#include <fmt/format-inl.h>

FMT_BEGIN_NAMESPACE
namespace detail {

template auto dragonbox::to_decimal(float x) noexcept -> dragonbox::decimal_fp<float>;
template auto dragonbox::to_decimal(double x) noexcept -> dragonbox::decimal_fp<double>;

template locale_ref::locale_ref(const std::locale& loc);
template auto locale_ref::get<std::locale>() const -> std::locale;

template auto thousands_sep_impl(locale_ref) -> thousands_sep_result<char>;
template auto decimal_point_impl(locale_ref) -> char;
template auto thousands_sep_impl(locale_ref) -> thousands_sep_result<wchar_t>;
template auto decimal_point_impl(locale_ref) -> wchar_t;

}  // namespace detail
FMT_END_NAMESPACE
