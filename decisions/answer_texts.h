#pragma once

#include <string>

#include "decisions/questions.h"

namespace teravo {

// The answers in the words an analyst reads them in, numbers with `separator`. Each states its
// probability and the plays behind it.

// "90 %": a probability as a percentage, to a tenth at most.
std::string PercentText(double probability, char separator);
// "123,45": days to a hundredth.
std::string DaysText(double days, char separator);

// "С вероятностью 90 % цель достигается к 123,4 сут." or that it is not reached within the play.
std::string TimeAnswerText(const Answers& answers, const Question& question, char separator);
// The plays behind it, how many never reached the target, and the quantile's interval.
std::string TimeBasisText(const Answers& answers, char separator);
// "К 200 сут. цель достигается с вероятностью 87 % (87 из 100 розыгрышей)."
std::string ByDateText(const Answers& answers, char separator);
std::string StaffingText(const Answers& answers, const Question& question, char separator);
std::string CostText(const Answers& answers, char separator);
// The cost model in words, with the question's figures.
std::string CostModelText(const Answers& answers, const CostQuestion& costs, char separator);

}  // namespace teravo
