#include "reports/w_zak.h"

#include <memory>

#include "data/field_names.h"
#include "data/purchase_register.h"
#include "report/memory_rows.h"
#include "report/stream_rows.h"
#include "reports/form_drawing.h"
#include "reports/report_subject.h"

namespace reports {

namespace {

using report::Align;
using report::BandKind;

// Printable width and where the columns start; the two quantities end at their right edges.
constexpr double W = 185;
constexpr double registration = 0, invoice = 38, date = 92;
constexpr double litresLeft = 118, litresRight = 148;
constexpr double tonnesLeft = 153, tonnesRight = W;

// The register's lines as the master rows, each line's purchases as the detail rows that
// follow it, read as they are printed.
void feedRegister(report::Report& r, std::shared_ptr<data::PurchaseRegister> register_)
{
    using namespace data;
    auto lines = std::make_unique<report::MemoryRows>(
        QStringList{col::NR_RODZ_SILN, col::NR_RODZ_PAL, calc::nazsil, calc::nazpal, col::ZAKKW, calc::zakkw_t});
    lines->setDisplayFormat(col::ZAKKW, QStringLiteral("###0.00"));
    lines->setDisplayFormat(calc::zakkw_t, QStringLiteral("###0.000"));
    QList<QVariantList> rows;
    for (const RegisterLine& l : register_->lines())
        rows.append({l.vehicleType, l.fuel, l.vehicleTypeName, l.fuelName, l.litres, l.tonnes});
    lines->setRows(std::move(rows));

    auto purchases = std::make_unique<report::StreamRows>(QStringList{col::NR_REJ, col::NR_RACH, col::D_ZAK, col::IL_ZAK});
    purchases->setDisplayFormat(col::IL_ZAK, QStringLiteral("###0.00"));
    lines->onMove = [detail = purchases.get(), register_](int row) {
        if (row < 0 || row >= static_cast<int>(register_->lines().size())) {
            detail->restart(nullptr);
            return;
        }
        register_->startLine(static_cast<size_t>(row));
        detail->restart([register_]() -> std::optional<QVariantList> {
            const std::optional<RegisterPurchase> p = register_->nextPurchase();
            if (!p)
                return std::nullopt;
            return QVariantList{p->registration, p->invoice, p->day, p->litres};
        });
    };
    r.setMaster(std::move(lines));
    r.setDetail(std::move(purchases));
}

} // namespace

Tf_w_zak::Tf_w_zak(Tdm_1& dm, const ReportSubject& subject)
    : ReportWindow(QStringLiteral("Wydruk zakupów paliw"), QStringLiteral("Wydruk zakupów paliw")), subject_(subject)
{
    readFromSnapshot(dm);
    raport().setOrientation(QPageLayout::Portrait);
    raport().setMargins({10, 10, 15, 16});
    feedRegister(raport(), std::make_shared<data::PurchaseRegister>(dm, subject.choice.taxpayer, subject.choice.period()));
    buildBands();
}

void Tf_w_zak::buildBands()
{
    report::Report& r = raport();

    report::Band& pageHeader = r.addBand(BandKind::PageHeader, 7);
    pageHeader.addText({W - 30, 0, 19, 4.5}, QStringLiteral("Strona:")).setAlign(Align::Right);
    pageHeader.addComputed({W - 10, 0, 10, 4.5}, [&r] { return QString::number(r.pageNumber()); });

    report::Band& title = r.addBand(BandKind::Title, 14);
    title.addText({0, 0, W, 5}, r.title()).setAlign(Align::Center);
    title.addText({0, 7, 20, 4.5}, QStringLiteral("dla firmy ")).setName(QStringLiteral("QRLabel1"));
    title.addComputed({0, 7, 40, 4.5}, [this] { return subject_.choice.taxpayer; }).setName(QStringLiteral("nazskr"));
    title.addComputed({0, 7, 25, 4.5}, [this] {
        return data::usesHalfYears(subject_.choice.year) ? QStringLiteral("za kwartał") : QStringLiteral("za rok");
    }).setName(QStringLiteral("QRLabel2"));
    title.addComputed({0, 7, 25, 4.5}, [this] { return periodLabel(subject_); }).setName(QStringLiteral("nr_kwar"));
    title.beforePrint = [this](report::Band& band) { return titleBeforePrint(band); };

    report::Band& header = r.addBand(BandKind::ColumnHeader, 7);
    header.addText({registration, 1, invoice - registration, 4.5}, QStringLiteral("Nr rejestracyjny"));
    header.addText({invoice, 1, date - invoice, 4.5}, QStringLiteral("Nr rachunku"));
    header.addText({date, 1, litresLeft - date, 4.5}, QStringLiteral("Data zakupu"));
    header.addText({litresLeft, 1, litresRight - litresLeft, 4.5}, QStringLiteral("Ilość w l")).setAlign(Align::Right);
    header.addText({tonnesLeft, 1, tonnesRight - tonnesLeft, 4.5}, QStringLiteral("Ilość w Mg")).setAlign(Align::Right);
    header.addHorizontalRule(0, 6.2, W);

    report::Band& group = r.addBand(BandKind::Detail, 10);
    group.addField({0, 1, litresLeft - 2, 4.5}, data::calc::nazsil);
    group.addField({6, 5.2, litresLeft - 8, 4.5}, data::calc::nazpal);
    group.addField({litresLeft, 5.2, litresRight - litresLeft, 4.5}, data::col::ZAKKW).setAlign(Align::Right);
    group.addField({tonnesLeft, 5.2, tonnesRight - tonnesLeft, 4.5}, data::calc::zakkw_t).setAlign(Align::Right);

    report::Band& purchase = r.addBand(BandKind::SubDetail, 4.5);
    purchase.addField({registration + 2, 0, invoice - registration - 3, 4.5}, data::col::NR_REJ);
    purchase.addField({invoice, 0, date - invoice - 1, 4.5}, data::col::NR_RACH);
    purchase.addField({date, 0, litresLeft - date, 4.5}, data::col::D_ZAK).setMask(QStringLiteral("dd-MM-yyyy"));
    purchase.addField({litresLeft, 0, litresRight - litresLeft, 4.5}, data::col::IL_ZAK).setAlign(Align::Right);
}

bool Tf_w_zak::titleBeforePrint(report::Band& band)
{
    const double blank = form::textWidth(QStringLiteral(" "), raport().font());
    double x = 0;
    for (const char* name : {"QRLabel1", "nazskr", "QRLabel2", "nr_kwar"}) {
        report::BandItem* item = band.item(QString::fromLatin1(name));
        const QString text = item->printedText(nullptr, -1);
        const double width = form::textWidth(text, raport().font());
        QRectF r = item->rect();
        r.moveLeft(x);
        r.setWidth(width + 1);
        item->setRect(r);
        // "dla firmy " brings its own blank; the others get one after them.
        x += width + (text.endsWith(QLatin1Char(' ')) ? 0 : blank);
    }
    return true;
}

} // namespace reports
