// The host's side of a function call: parameters, result and the call.
#include "runtime.h"

#include <stdexcept>

namespace fmw {

ParameterVector::ParameterVector(const std::vector<Value>& values) {
    auto vector = std::make_unique<fmx::DataVect>();
    for (const Value& value : values) {
        auto data = std::make_unique<fmx::Data>(detail::defaultLocale());
        data->content = detail::toContent(value);
        vector->values.push_back(std::move(data));
    }
    vector->texts.resize(values.size());
    vector->numbers.resize(values.size());
    vector_ = vector.release();
}

ParameterVector::~ParameterVector() { delete vector_; }

ResultValue::ResultValue() {
    // A locale of the result's own, so a test can tell whether a plug-in
    // stored the result's locale or some other one.
    auto locale = std::make_unique<fmx::Locale>("host result");
    data_ = new fmx::Data(locale.get());
    data_->ownedLocale = std::move(locale);
}

ResultValue::~ResultValue() { delete data_; }

Value ResultValue::value() const { return detail::toValue(data_->content); }

const fmx::Locale* ResultValue::ownLocale() const { return data_->createdIn; }

const fmx::Locale* ResultValue::storedLocale() const { return data_->locale; }

std::int32_t ResultValue::nativeType() const { return data_->nativeType; }

int ResultValue::storeCount() const { return data_->storeCount; }

const fmx::ExprEnv* expressionEnvironment() {
    detail::Runtime& state = detail::runtime();
    if (state.environment == nullptr) {
        state.environment = new fmx::ExprEnv;
    }
    return state.environment;
}

CallResult callFunction(const FunctionEntry& function, const std::vector<Value>& arguments) {
    if (function.handler == nullptr) {
        throw std::invalid_argument("callFunction: function has no handler");
    }
    ParameterVector parameters(arguments);
    ResultValue result;
    CallResult outcome;
    outcome.returned = function.handler(function.id, expressionEnvironment(), parameters.get(), result.get());
    outcome.result = result.value();
    return outcome;
}

}  // namespace fmw
