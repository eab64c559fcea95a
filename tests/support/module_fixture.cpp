#include "module_fixture.h"


Tdm_1* dm_1 = nullptr;

namespace testsupport {

void ModuleFixture::start()
{
    path = freshDeliveredDatabase();
    dm = std::make_unique<Tdm_1>();
    dm_1 = dm.get();
    dm->connectTo(path);
    shown.clear();
    answer = desktop::Answer::Yes;
    desktop::setMessageHandler([this](const desktop::Message& m) {
        shown << m;
        return answer;
    });
}

void ModuleFixture::stop()
{
    desktop::setMessageHandler({});
    dm.reset();
    dm_1 = nullptr;
}

QStringList ModuleFixture::shownTexts() const
{
    QStringList texts;
    for (const desktop::Message& m : shown)
        texts << m.text;
    return texts;
}

} // namespace testsupport
