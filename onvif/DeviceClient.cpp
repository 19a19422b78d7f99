#include "DeviceClient.h"

#include "DeviceAnswers.h"
#include "DnsAnswer.h"
#include "InterfacesAnswer.h"
#include "ScopesAnswer.h"

#include <functional>

namespace vanmoor::onvif {

namespace {

std::string CallProblem(const CallResult& call) {
    switch (call.outcome) {
    case CallOutcome::Answered:
        return {};
    case CallOutcome::Fault:
        return "the camera answered with a fault: " + call.faultCode +
               (call.faultReason.empty() ? "" : " (" + call.faultReason + ")");
    case CallOutcome::LoginRefused:
        return call.detail; // says itself that the camera refused the user name and password
    case CallOutcome::Unreachable:
        return "the camera could not be reached: " + call.detail;
    case CallOutcome::BadAnswer:
        return "the camera's answer was not usable: " + call.detail;
    }
    return call.detail;
}

// The operation's name is the last part of its action URI.
std::string OperationOf(const DeviceRequest& request) {
    return request.action.substr(request.action.rfind('/') + 1);
}

} // namespace

DeviceClient::DeviceClient(SoapCaller& caller, std::optional<Ipv4Octets> reachedAt)
    : m_caller(caller), m_reachedAt(reachedAt) {}

DeviceClient::Exchange DeviceClient::Send(const DeviceRequest& request) {
    Exchange exchange{m_caller.Call(request.action, request.body, true), {}};
    exchange.problem = CallProblem(exchange.call);
    return exchange;
}

ReadResult DeviceClient::Read() {
    using Reader = std::function<std::string(std::string_view, CameraSettings&)>;
    const std::pair<DeviceRequest, Reader> operations[] = {
        {GetDeviceInformationRequest(), ReadDeviceInformation},
        {GetNetworkInterfacesRequest(),
         [this](std::string_view envelope, CameraSettings& into) {
             return ReadNetworkInterfaces(envelope, m_reachedAt, into);
         }},
        {GetNetworkDefaultGatewayRequest(), ReadDefaultGateway},
        {GetDnsRequest(), ReadDns},
        {GetHostnameRequest(), ReadHostname},
        {GetNetworkProtocolsRequest(), ReadNetworkProtocols},
        {GetScopesRequest(), ReadScopes},
    };
    ReadResult result;
    for (const auto& [request, reader] : operations) {
        const Exchange exchange = Send(request);
        if (exchange.call.outcome == CallOutcome::LoginRefused ||
            exchange.call.outcome == CallOutcome::Unreachable) {
            result.end = exchange.call.outcome == CallOutcome::LoginRefused ? ReadEnd::LoginRefused
                                                                            : ReadEnd::Unreachable;
            result.detail = exchange.problem;
            return result;
        }
        std::string problem = exchange.problem;
        if (problem.empty()) {
            problem = reader(exchange.call.body, result.settings);
        }
        if (!problem.empty()) {
            result.unread.push_back(OperationOf(request) + ": " + problem);
        }
    }
    return result;
}

ChangeResult DeviceClient::Change(const CameraSettings& read, const SettingsChange& change) {
    ChangeResult result;
    ChangePlan plan = PlanChange(read, change);
    if (!plan.problem.empty()) {
        result.end = ChangeEnd::NotSent;
        result.problem = std::move(plan.problem);
        return result;
    }
    for (const PlannedStep& step : plan.steps) {
        const Exchange exchange = Send(step.request);
        std::string problem = exchange.problem;
        if (problem.empty()) {
            problem =
                step.step == ChangeStep::Interface
                    ? ReadRebootNeeded(exchange.call.body, result.rebootNeeded)
                    : ReadEmptyAnswer(exchange.call.body, OperationOf(step.request) + "Response");
        }
        if (!problem.empty()) {
            result.end = ChangeEnd::StepFailed;
            result.failedStep = step.step;
            result.problem = std::move(problem);
            return result;
        }
        result.sent.push_back(step.step);
    }
    return result;
}

std::string DeviceClient::Reboot() {
    const DeviceRequest request = SystemRebootRequest();
    const Exchange exchange = Send(request);
    if (!exchange.problem.empty()) {
        return exchange.problem;
    }
    return ReadEmptyAnswer(exchange.call.body, "SystemRebootResponse");
}

} // namespace vanmoor::onvif
