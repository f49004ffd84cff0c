#pragma once

#include "lib/Currency.h"
#include "lib/DateValue.h"

namespace qpn {

// The working state of the asset being calculated. The asset pass fills it,
// the method amounts and year writers extend it, and the subsidy pass of the
// same asset continues from what the asset pass left.
struct AssetWork
{
    int AssetId = 0;
    int Method = 0;
    int FirstYearMode = 0;
    DateTime PurchaseDate = 0;
    DateTime DisposalDate = 0;
    DateTime PartialDate = 0;
    Currency BasePrice;
    int Life = 0;
    double ResidualRate = 0;
    double MemoValue = 0;
    int RateGeneration = 0;
    int AcquisitionNendo = 0;
    int FirstYearMonths = 0;
    int MonthsThisYear = 0;
    int DisposalNendo = 0;
    int DisposalMonths = 0;
    int PartialNendo = 0;
    Currency PendingPartialAmount;
    Currency PendingSubsidyPartialAmount;
    double Rate = 0;
    double RevisedRate = 0;
    double GuaranteeRate = 0;
    Currency GuaranteeAmount;
    Currency AnnualAmount;
    Currency ResidualAmount;
    int YearIndex = 0;
    Currency OpeningBalance;
    Currency AddedBalance;
    Currency YearDepreciation;
    bool ResidualPending = false;
    bool ContinueYears = false;
    int LastWrittenIndex = 0;

    Currency SubsidyAmount;
    double SubsidyResidualRate = 0;
    Currency SubsidyAnnual;
    Currency SubsidyResidualAmount;
    Currency SubsidyOpening;
    Currency SubsidyAdded;
    Currency SubsidyDrawdown;
    Currency SubsidyAdjustment;
};

} // namespace qpn
