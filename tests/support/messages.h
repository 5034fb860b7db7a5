#pragma once

#include <string_view>

namespace teravo::msg {

// The field messages of parameter acceptance, written out here as the user must see them, so
// that tests check the program's own texts against an independent copy.
inline constexpr std::string_view ClientsNum =
    "Число программ-клиентов должно быть целым положительным числом";
inline constexpr std::string_view ProgrammersNum =
    "Число программистов должно быть целым положительным числом";
inline constexpr std::string_view A = "Область данных должно быть целым положительным числом";
inline constexpr std::string_view ErrorsNum0 =
    "Начальное количество ошибок в ПК должно быть целым положительным числом";
inline constexpr std::string_view CoeffComplexity =
    "Коэффициент сложности должен быть целым положительным числом";
inline constexpr std::string_view Yk =
    "Интенсивность потока обращений клиента к серверу должна быть действительным "
    "положительным числом";
inline constexpr std::string_view Mu =
    "Интенсивность потока исправлений ошибки программистом должна быть действительным "
    "положительным числом";
inline constexpr std::string_view P_newErr =
    "Вероятность внести новую ошибку при исправлении программы должна быть действительным "
    "положительным числом < 1";
inline constexpr std::string_view Y_newErr =
    "Интенсивность потока внести новую ошибку при исправлении программы должна быть "
    "действительным положительным числом < 1";
inline constexpr std::string_view DT =
    "Шаг итерации должен быть действительным положительным числом";
inline constexpr std::string_view M = "Число итераций должно быть целым положительным числом";
inline constexpr std::string_view K =
    "Количество розыгрышей должно быть целым положительным числом";
inline constexpr std::string_view Y0 =
    "Интенсивность потока ошибок серера должна быть действительным положительным числом";

}  // namespace teravo::msg
